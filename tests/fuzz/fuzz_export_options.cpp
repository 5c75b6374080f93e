// The export's command line: arguments separated by NUL bytes, decoded as the program
// decodes its command line. Whatever they are, the parser accepts them with options
// that hold or refuses them with a message; it never crashes.
#include "app/export/export_options.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QStringList arguments;
    for (const QByteArray& part : input.split('\0'))
        arguments << QString::fromLocal8Bit(part);
    if (!isExportCommand(arguments))
        return 0;
    try {
        const ExportOptions options = parseExportArguments(arguments);
        const QSize s = options.size;
        const bool sane =
            !options.file.isEmpty() && s.width() >= MinExportSide && s.height() >= MinExportSide &&
            s.width() <= MaxExportSide && s.height() <= MaxExportSide &&
            int64_t(s.width()) * s.height() <= MaxExportArea && options.fps >= 1 &&
            options.fps <= MaxExportFps &&
            (options.format != ExportFormat::Mp4 || (s.width() % 2 == 0 && s.height() % 2 == 0));
        if (!sane)
            abort();
    } catch (const ExportUsageError& error) {
        if (error.message().isEmpty())
            abort();
    }
    return 0;
}
