#pragma once
// The export's command line, parsed and checked:
//   quillon --export FILE [--size WxH] [--fps N] [--seed N] [--captions FILE] LINE1 [LINE2]
//   quillon --export DIR/ (--file LIST.qln | --catalogue) [--format EXT] [...]
#include "platform/core/error.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace quillon {

enum class ExportFormat { Png, Mp4, WebM };

// A whole list at once: one card per subtitle, each a file of its own in one folder.
struct ExportList {
    QString listFile; // a user subtitle file (.qln); empty: the built-in catalogue
    bool catalogue = false;
    QString extension; // of every card, lower case without the dot
};

struct ExportOptions {
    QString file;
    ExportFormat format = ExportFormat::Png;
    QSize size{1920, 1080};
    int fps = 30;
    std::optional<uint32_t> seed; // none: seeded from the clock, like a card on the screen
    QByteArray line1;             // Shift-JIS
    QByteArray line2;
    // Beside the video, .vtt or .srt; with a list, "vtt" or "srt" beside every card.
    QString captions;
    // Set for a list; then file names its folder and the lines are unused.
    std::optional<ExportList> list;
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
