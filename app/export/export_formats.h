#pragma once
// Every format a card can be exported in, as one table: what a format is, what it
// allows, and which sink writes it. A new format is a new row.
#include <QSize>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>

namespace quillon {

struct ExportOptions;
struct EncoderSettings;
class FrameSink;

enum class ExportFormat {
    Png,
    Mp4,
    WebM,
    Mov,
    Gif,
    WebP,
    PngSequence, // a folder ("DIR/") or a pattern ("DIR/frame-%05d.png"), with sound.wav
};

enum class FormatAlpha {
    Never,     // the codec has no transparency
    WhenAsked, // --transparent keeps it
    Always,    // the file always carries an alpha channel
};

// Which frames go to the sink; a repeat is a frame with the pixels of the one before.
enum class FrameRepeats {
    Still,       // no frames: the finished card is the one picture
    Once,        // each new picture once: the file (or ffmpeg) holds it until the next
    EverySecond, // as Once, but again at least once a second, for players
    EveryFrame,  // every frame; repeats as repeatFrame, so nothing is converted twice
};

struct ExportFormatRow;
using MakeFrameSink = std::unique_ptr<FrameSink> (*)(const ExportOptions&, const ExportFormatRow&,
                                                     const std::atomic_bool& cancel);
using FfmpegOutput = QStringList (*)(const EncoderSettings&);

struct ExportFormatRow {
    ExportFormat format = ExportFormat::Png;
    const char* extension = "";    // lower case, without the dot; empty for a folder
    const char* chooserLabel = ""; // the save chooser's filter, translated in "Export"
    int soundRate = 0;             // the sound's samples a second; 0: no sound
    int soundChannels = 0;
    FormatAlpha alpha = FormatAlpha::Never;
    const char* noAlphaMessage = nullptr;  // why --transparent is refused, for Never
    const char* oddSidesMessage = nullptr; // set when width and height must be even
    FrameRepeats repeats = FrameRepeats::Once;
    bool captions = true;   // --captions may go beside it
    bool yuvFrames = false; // without alpha, frames go to ffmpeg as 4:2:0 made here
    MakeFrameSink makeSink = nullptr;
    FfmpegOutput ffmpegOutput = nullptr; // for the ffmpeg sink: what ffmpeg makes of the frames
};

// The rows, in the chooser's order.
std::span<const ExportFormatRow> exportFormats();
const ExportFormatRow& exportFormatRow(ExportFormat format);

// The format named by the file's extension, or a PNG sequence for a folder or a pattern;
// raises ExportUsageError for any other.
ExportFormat exportFormatOf(const QString& file);
// Raises ExportUsageError when the size does not suit the format.
void checkExportSize(QSize size, ExportFormat format);
// Whether the format can keep a transparent background.
bool exportKeepsAlpha(ExportFormat format);

// Where a PNG sequence goes: its folder, and the name of frame k made from a pattern
// with one %d (or %05d ...).
struct FrameFiles {
    QString folder;
    QString pattern;
    QString nameOf(int64_t frame) const;
};
FrameFiles frameFilesOf(const QString& target);

} // namespace quillon
