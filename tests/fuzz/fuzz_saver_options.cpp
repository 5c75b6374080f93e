// The screen saver's command line and the XSCREENSAVER_WINDOW it may read: the first
// NUL-separated part is the variable's value, the rest the arguments. Whatever they are,
// the command line's one reader gives options that hold or refuses them with a message;
// it never crashes.
#include "app/command_line.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> parts = input.split('\0');
    const QString window = QString::fromLocal8Bit(parts.first());
    QStringList arguments;
    for (qsizetype i = 1; i < parts.size(); ++i)
        arguments << QString::fromLocal8Bit(parts.at(i));
    if (const auto id = parseWindowId(window); id && *id == 0)
        abort();
    const CommandLine line = readCommandLine(arguments, window);
    if (line.problem) {
        if (line.problem->isEmpty())
            abort();
        return 0;
    }
    if (line.mode.kind != RunKind::Saver)
        return 0;
    const SaverOptions& options = line.saverOptions;
    const bool sane = (options.target != SaverOptions::Target::Foreign || options.windowId != 0) &&
                      (!options.holdMs || *options.holdMs <= uint32_t(MaxLingerSeconds) * 1000) &&
                      (!options.seed || *options.seed != 0);
    if (!sane)
        abort();
    return 0;
}
