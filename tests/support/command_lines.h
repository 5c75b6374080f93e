#pragma once
// Command lines for tests, read as the program reads its own.
#include "app/command_line.h"

#include <initializer_list>

namespace quillon::testing {

inline QStringList args(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* a : list)
        out << QString::fromUtf8(a);
    return out;
}

// The command line as the program reads it, its problem raised as a UsageError.
inline CommandLine readOrRaise(const QStringList& arguments,
                               const QString& xscreensaverWindow = {}) {
    CommandLine line = readCommandLine(arguments, xscreensaverWindow);
    if (line.problem)
        throw UsageError(*line.problem);
    return line;
}

} // namespace quillon::testing
