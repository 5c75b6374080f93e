// The screen saver's command line and the XSCREENSAVER_WINDOW it may read: the first
// NUL-separated part is the variable's value, the rest the arguments. Whatever they are,
// the parser gives options that hold or refuses them with a message; it never crashes.
#include "app/saver/saver_options.h"

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
    (void)isSaverCommand(arguments);
    if (const auto id = parseWindowId(window); id && *id == 0)
        abort();
    try {
        const SaverOptions options = parseSaverArguments(arguments, window);
        const bool sane =
            (options.target != SaverOptions::Target::Foreign || options.windowId != 0) &&
            (!options.holdMs || *options.holdMs <= uint32_t(MaxLingerSeconds) * 1000) &&
            (!options.seed || *options.seed != 0);
        if (!sane)
            abort();
    } catch (const SaverUsageError& error) {
        if (error.message().isEmpty())
            abort();
    }
    return 0;
}
