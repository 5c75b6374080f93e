#pragma once
// Command lines for tests, read as the program reads its own.
#include "app/command_line.h"

#include <QByteArray>
#include <cstdio>
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

// What was written to a temporary file standing for standard output or error; closes it.
inline QString closedText(FILE* file) {
    rewind(file);
    QByteArray bytes;
    char buffer[4096];
    while (size_t n = fread(buffer, 1, sizeof buffer, file))
        bytes.append(buffer, qsizetype(n));
    fclose(file);
    return QString::fromLocal8Bit(bytes);
}

} // namespace quillon::testing
