// The export's command line: arguments separated by NUL bytes, decoded as the program
// decodes its command line. Whatever they are, the command line's one reader accepts
// them with options that hold or refuses them with a message; it never crashes.
#include "app/command_line.h"

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
    const CommandLine line = readCommandLine(arguments);
    if (line.problem) {
        if (line.problem->isEmpty())
            abort();
        return 0;
    }
    if (line.mode.kind != RunKind::Export)
        return 0;
    const ExportOptions& options = line.exportOptions;
    const QSize s = options.size;
    const bool sane =
        !options.file.isEmpty() && s.width() >= MinExportSide && s.height() >= MinExportSide &&
        s.width() <= MaxExportSide && s.height() <= MaxExportSide &&
        int64_t(s.width()) * s.height() <= MaxExportArea && options.fps >= 1 &&
        options.fps <= MaxExportFps &&
        (options.format != ExportFormat::Mp4 || (s.width() % 2 == 0 && s.height() % 2 == 0));
    if (!sane)
        abort();
    return 0;
}
