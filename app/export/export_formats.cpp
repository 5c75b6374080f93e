#include "app/export/export_formats.h"

#include "app/export/export_options.h"
#include "app/export/frame_sink.h"
#include "platform/media/ffmpeg_encoder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace quillon {

namespace {

// The frames come as studio-range BT.709; the file says so, so that players show true
// black and white.
QStringList bt709() {
    return ffmpegWords({"-colorspace", "bt709", "-color_primaries", "bt709", "-color_trc", "bt709",
                        "-color_range", "tv"});
}

// RGBA frames made into BT.709 studio range, as the file says they are.
constexpr const char* Bt709Scale = "scale=out_color_matrix=bt709:out_range=tv";

// What ffmpeg makes of the frames, per format. Those with timestamps of their own show
// each frame until the next one; the one for editors gets every frame of the grid,
// repeats made by ffmpeg from the one decoded frame.

QStringList mp4Output(const EncoderSettings&) {
    return ffmpegWords({"-fps_mode", "passthrough", "-pix_fmt", "yuv420p"}) + bt709() +
           ffmpegWords({"-c:v", "libx264", "-preset", "ultrafast", "-crf", "18", "-c:a", "aac",
                        // The fast coder: a third of the time, and the cues sound the same.
                        "-aac_coder", "fast", "-b:a", "96k", "-movflags", "+faststart", "-f",
                        "mp4"});
}

QStringList webmOutput(const EncoderSettings& s) {
    return ffmpegWords({"-fps_mode", "passthrough"}) +
           (s.alpha ? QStringList{QStringLiteral("-vf"), QString::fromLatin1(Bt709Scale)}
                    : QStringList()) +
           ffmpegWords({"-pix_fmt", s.alpha ? "yuva420p" : "yuv420p"}) + bt709() +
           ffmpegWords({"-c:v",     "libvpx-vp9", "-deadline",
                        "realtime", "-cpu-used",  "8",
                        "-row-mt",  "1",          "-tile-columns",
                        "2",        "-threads",   "0",
                        "-crf",     "30",         "-b:v",
                        "0",        "-c:a",       "libopus",
                        "-b:a",     "96k",        "-f",
                        "webm"});
}

QStringList movOutput(const EncoderSettings& s) {
    return QStringList{QStringLiteral("-vf"),
                       QStringLiteral("fps=%1,%2").arg(s.fps).arg(QLatin1String(Bt709Scale))} +
           ffmpegWords({"-pix_fmt", "yuva444p10le"}) + bt709() +
           ffmpegWords({"-c:v", "prores_aw", "-profile:v", "4", "-vendor", "apl0", "-c:a",
                        "pcm_s16le", "-f", "mov"});
}

QStringList gifOutput(const EncoderSettings& s) {
    // White on black needs few colours; made from the card's own frames, its greys keep
    // the edges smooth without dithering.
    const QString graph =
        QStringLiteral("split[a][b];[a]palettegen=stats_mode=full:reserve_transparent=%1[p];"
                       "[b][p]paletteuse=dither=none:diff_mode=rectangle")
            .arg(s.alpha ? 1 : 0);
    // The last frame's delay, in hundredths of a second, is its frame's.
    const QString last = QString::number(std::max(1, (100 + s.fps / 2) / s.fps));
    return QStringList{QStringLiteral("-fps_mode"),    QStringLiteral("passthrough"),
                       QStringLiteral("-vf"),          graph,
                       QStringLiteral("-loop"),        QString::number(s.loops),
                       QStringLiteral("-final_delay"), last,
                       QStringLiteral("-f"),           QStringLiteral("gif")};
}

QStringList webpOutput(const EncoderSettings& s) {
    return ffmpegWords({"-fps_mode", "passthrough", "-pix_fmt", "bgra", "-c:v", "libwebp_anim",
                        "-lossless", "1", "-loop"}) +
           QStringList{QString::number(s.loops), QStringLiteral("-f"), QStringLiteral("webp")};
}

const char* const NoAlphaInH264 = QT_TRANSLATE_NOOP(
    "Export", "--transparent は .mp4 には使えません (H.264 には透明がありません)。"
              ".webm, .mov, .gif, .webp, .png か PNG 連番にしてください");
// 4:2:0 video halves both sides for colour; H.264 wants them whole.
const char* const OddSidesInH264 =
    QT_TRANSLATE_NOOP("Export", "H.264 (.mp4) の幅と高さは偶数でなければなりません");

// The sound is the built-in sounds' own: mono, at most 22050 samples a second. The
// players' formats carry it so (AAC then has a fifth of the work; Opus takes none of the
// sounds' rates, so 48 kHz); the editors' files keep the 48 kHz stereo they had.
const ExportFormatRow Rows[] = {
    {.format = ExportFormat::Png,
     .extension = "png",
     .chooserLabel = QT_TRANSLATE_NOOP("Export", "PNG 画像 (*.png)"),
     .alpha = FormatAlpha::WhenAsked,
     .repeats = FrameRepeats::Still,
     .captions = false,
     .makeSink = makeStillSink},
    {.format = ExportFormat::Mp4,
     .extension = "mp4",
     .chooserLabel = QT_TRANSLATE_NOOP("Export", "MP4 動画 (*.mp4)"),
     .soundRate = 22050,
     .soundChannels = 1,
     .alpha = FormatAlpha::Never,
     .noAlphaMessage = NoAlphaInH264,
     .oddSidesMessage = OddSidesInH264,
     .repeats = FrameRepeats::EverySecond,
     .yuvFrames = true,
     .makeSink = makeFfmpegSink,
     .ffmpegOutput = mp4Output},
    {.format = ExportFormat::WebM,
     .extension = "webm",
     .chooserLabel = QT_TRANSLATE_NOOP("Export", "WebM 動画 (*.webm)"),
     .soundRate = 48000,
     .soundChannels = 1,
     .alpha = FormatAlpha::WhenAsked,
     .repeats = FrameRepeats::EverySecond,
     .yuvFrames = true,
     .makeSink = makeFfmpegSink,
     .ffmpegOutput = webmOutput},
    {.format = ExportFormat::Mov,
     .extension = "mov",
     .chooserLabel = QT_TRANSLATE_NOOP("Export", "MOV 動画 ProRes 4444 (*.mov)"),
     .soundRate = 48000,
     .soundChannels = 2,
     .alpha = FormatAlpha::Always,
     .repeats = FrameRepeats::Once,
     .makeSink = makeFfmpegSink,
     .ffmpegOutput = movOutput},
    {.format = ExportFormat::Gif,
     .extension = "gif",
     .chooserLabel = QT_TRANSLATE_NOOP("Export", "GIF アニメ (*.gif)"),
     .alpha = FormatAlpha::WhenAsked,
     .repeats = FrameRepeats::Once,
     .makeSink = makeFfmpegSink,
     .ffmpegOutput = gifOutput},
    {.format = ExportFormat::WebP,
     .extension = "webp",
     .chooserLabel = QT_TRANSLATE_NOOP("Export", "WebP アニメ (*.webp)"),
     .alpha = FormatAlpha::WhenAsked,
     .repeats = FrameRepeats::Once,
     .makeSink = makeFfmpegSink,
     .ffmpegOutput = webpOutput},
    {.format = ExportFormat::PngSequence,
     .extension = "",
     .chooserLabel = QT_TRANSLATE_NOOP("Export", "PNG 連番 フォルダ (*)"),
     .soundRate = 48000,
     .soundChannels = 2,
     .alpha = FormatAlpha::WhenAsked,
     .repeats = FrameRepeats::EveryFrame,
     .makeSink = makeSequenceSink},
};

[[noreturn]] void usageError(const QString& pattern, std::initializer_list<QString> args = {}) {
    throw ExportUsageError(formatMessage(pattern, args));
}

// A pattern's one number: %d, or %05d and the like.
const QRegularExpression& numberInPattern() {
    static const QRegularExpression form(QStringLiteral("%(0?)([1-9]?)d"));
    return form;
}

bool isFrameSequence(const QString& target) {
    if (target.endsWith(u'/') || QFileInfo(target).isDir())
        return true;
    const QString name = QFileInfo(target).fileName();
    return name.contains(numberInPattern()) && name.toLower().endsWith(QLatin1String(".png"));
}

} // namespace

std::span<const ExportFormatRow> exportFormats() {
    return Rows;
}

const ExportFormatRow& exportFormatRow(ExportFormat format) {
    return *std::find_if(std::begin(Rows), std::end(Rows),
                         [format](const ExportFormatRow& row) { return row.format == format; });
}

ExportFormat exportFormatOf(const QString& file) {
    if (isFrameSequence(file))
        return ExportFormat::PngSequence;
    const QString suffix = QFileInfo(file).suffix().toLower();
    QStringList known;
    for (const ExportFormatRow& row : Rows) {
        if (!*row.extension)
            continue;
        if (suffix == QLatin1String(row.extension))
            return row.format;
        known << QLatin1Char('.') + QLatin1String(row.extension);
    }
    usageError(QCoreApplication::translate("Export",
                                           "%s: 書き出せる形式は %s と、PNG 連番のフォルダ (名前/) "
                                           "か名前の型 (frame-%05d.png) です"),
               {file, known.join(QStringLiteral(", "))});
}

void checkExportSize(QSize size, ExportFormat format) {
    if (int64_t(size.width()) * size.height() > MaxExportArea)
        usageError(QCoreApplication::translate("Export",
                                               "--size が大きすぎます (画素数は 7680x4320 まで)"));
    const char* odd = exportFormatRow(format).oddSidesMessage;
    if (odd && (size.width() % 2 || size.height() % 2))
        usageError(QCoreApplication::translate("Export", odd));
}

bool exportKeepsAlpha(ExportFormat format) {
    return exportFormatRow(format).alpha != FormatAlpha::Never;
}

FrameFiles frameFilesOf(const QString& target) {
    const QFileInfo info(target);
    if (target.endsWith(u'/') || info.isDir())
        return FrameFiles{QDir::cleanPath(target), QStringLiteral("frame-%05d.png")};
    return FrameFiles{info.path(), info.fileName()};
}

QString FrameFiles::nameOf(int64_t frame) const {
    const QRegularExpressionMatch m = numberInPattern().match(pattern);
    if (!m.hasMatch())
        return pattern;
    const QChar fill = m.capturedLength(1) ? QLatin1Char('0') : QLatin1Char(' ');
    QString name = pattern;
    return name.replace(m.capturedStart(0), m.capturedLength(0),
                        QStringLiteral("%1").arg(frame, m.captured(2).toInt(), 10, fill));
}

} // namespace quillon
