#pragma once
// The export's command line, parsed and checked:
//   quillon --export FILE [--size WxH] [--fps N] [--seed N] [--captions FILE] LINE1 [LINE2]
#include "platform/core/error.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace quillon {

enum class ExportFormat { Png, Mp4, WebM };

struct ExportOptions {
    QString file;
    ExportFormat format = ExportFormat::Png;
    QSize size{1920, 1080};
    int fps = 30;
    std::optional<uint32_t> seed; // none: seeded from the clock, like a card on the screen
    QByteArray line1;             // Shift-JIS
    QByteArray line2;
    // Beside the video, .vtt or .srt.
    QString captions;
};

// Bad usage: the message says what is wrong; the command line exits with status 2.
class ExportUsageError : public Exception {
public:
    using Exception::Exception;
};

constexpr int MinExportSide = 16;
constexpr int MaxExportSide = 7680;
constexpr int64_t MaxExportArea = int64_t(7680) * 4320;
constexpr int MaxExportFps = 60;

// Whether the arguments (without the program name) ask for an export.
bool isExportCommand(const QStringList& arguments);

// Parses the arguments after the program name. Raises ExportUsageError.
ExportOptions parseExportArguments(const QStringList& arguments);

// The format named by the file's extension; raises ExportUsageError for any other.
ExportFormat exportFormatOf(const QString& file);

// Raises ExportUsageError when the size does not suit the format.
void checkExportSize(QSize size, ExportFormat format);

// One-line usage text.
QString exportUsage();

} // namespace quillon
