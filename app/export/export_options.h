#pragma once
// The export's command line, parsed and checked:
//   quillon --export FILE [--size WxH] [--fps N] [--seed N] [--captions FILE] LINE1 [LINE2]
//          [--transparent] [--color RRGGBB] [--background RRGGBB|IMAGE] [--loop N]
//   quillon --export DIR/ (--file LIST.qln | --catalogue) [--format EXT] [...]
#include "app/export/export_formats.h"
#include "platform/core/error.h"
#include "platform/display/page_style.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace quillon {

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

    // How the card looks and plays in the file.
    PageStyle style; // --color, --background, --transparent
    int loops = 0;   // --loop: how often a GIF or WebP repeats; 0 forever
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

// The look of the file: --transparent (a flag), --color, --background, --loop.
bool isExportLookFlag(const QString& name);
bool isExportLookOption(const QString& name);
// Takes the flag or the option's value into options. Raises ExportUsageError.
void takeExportLook(const QString& name, const QString& value, ExportOptions& options);
// Raises ExportUsageError when the look does not suit the format (no alpha in H.264).
void checkExportLook(const ExportOptions& options);

// One-line usage text.
QString exportUsage();

} // namespace quillon
