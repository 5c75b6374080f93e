#pragma once
// What an export writes, as the command line (app/command_line.*) or the export chooser
// gives it, and the facts of each format that decide what is allowed.
#include "app/export/export_formats.h"
#include "platform/core/run_mode.h"
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
using ExportUsageError = UsageError;

constexpr int MinExportSide = 16;
constexpr int MaxExportSide = 7680;
constexpr int64_t MaxExportArea = int64_t(7680) * 4320;
constexpr int MaxExportFps = 60;

// Raises ExportUsageError when the look does not suit the format (no alpha in H.264).
void checkExportLook(const ExportOptions& options);
// Checks the options against the format they write, and sets the format (of every card,
// for a list): the captions, the size, the look. Raises ExportUsageError.
void checkExportFormat(ExportOptions& options);

} // namespace quillon
