#include "platform/media/ffmpeg_encoder.h"

#include "platform/core/error.h"
#include "platform/media/child_process.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <algorithm>

namespace quillon {

namespace {
constexpr int VideoPipe = 0;
constexpr int AudioPipe = 1;
// ffmpeg taking no frame bytes for this long while it has all the sound: it waits for
// sound that only comes with later frames, so frames may wait in memory...
constexpr int StallMs = 200;
// ...up to this much.
constexpr qsizetype MaxWaitingBytes = qsizetype(256) << 20;

} // namespace

QString FfmpegEncoder::findProgram() {
    return QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
}

QString FfmpegEncoder::missingProgramMessage() {
    return QStringLiteral(
        "動画の書き出しには ffmpeg が必要です。パッケージ ffmpeg をインストールして"
        "ください (例: sudo apt install ffmpeg)");
}

QStringList FfmpegEncoder::arguments(const EncoderSettings& s) {
    const QString size = QStringLiteral("%1x%2").arg(s.size.width()).arg(s.size.height());
    QStringList args = {
        QStringLiteral("-hide_banner"), QStringLiteral("-nostdin"), QStringLiteral("-loglevel"),
        QStringLiteral("error"), QStringLiteral("-y"),
        // Without this a write error at the end (a full disk) still exits with 0.
        QStringLiteral("-xerror"),
        // Frames on descriptor 3, sound on 4. Both are described in full, so nothing is
        // read ahead to guess what they are.
        QStringLiteral("-probesize"), QStringLiteral("32"), QStringLiteral("-analyzeduration"),
        QStringLiteral("0"), QStringLiteral("-f"), QStringLiteral("rawvideo"),
        QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"), QStringLiteral("-video_size"), size,
        QStringLiteral("-framerate"), QString::number(s.fps), QStringLiteral("-i"),
        QStringLiteral("pipe:3"), QStringLiteral("-probesize"), QStringLiteral("32"),
        QStringLiteral("-analyzeduration"), QStringLiteral("0"), QStringLiteral("-f"),
        QStringLiteral("s16le"), QStringLiteral("-ar"), QString::number(s.sampleRate),
        QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-i"), QStringLiteral("pipe:4"),
        QStringLiteral("-map"), QStringLiteral("0:v:0"), QStringLiteral("-map"),
        QStringLiteral("1:a:0"),
        // The frames come as studio-range BT.709; the file says so, so that players show
        // true black and white.
        QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"), QStringLiteral("-colorspace"),
        QStringLiteral("bt709"), QStringLiteral("-color_primaries"), QStringLiteral("bt709"),
        QStringLiteral("-color_trc"), QStringLiteral("bt709"), QStringLiteral("-color_range"),
        QStringLiteral("tv")};
    if (s.format == VideoFormat::Mp4)
        args << QStringLiteral("-c:v") << QStringLiteral("libx264") << QStringLiteral("-preset")
             << QStringLiteral("ultrafast") << QStringLiteral("-crf") << QStringLiteral("18")
             << QStringLiteral("-c:a") << QStringLiteral("aac") << QStringLiteral("-b:a")
             << QStringLiteral("192k") << QStringLiteral("-movflags")
             << QStringLiteral("+faststart") << QStringLiteral("-f") << QStringLiteral("mp4");
    else
        args << QStringLiteral("-c:v") << QStringLiteral("libvpx-vp9")
             << QStringLiteral("-deadline") << QStringLiteral("realtime")
             << QStringLiteral("-cpu-used") << QStringLiteral("8") << QStringLiteral("-row-mt")
             << QStringLiteral("1") << QStringLiteral("-tile-columns") << QStringLiteral("2")
             << QStringLiteral("-threads") << QStringLiteral("0") << QStringLiteral("-crf")
             << QStringLiteral("30") << QStringLiteral("-b:v") << QStringLiteral("0")
             << QStringLiteral("-c:a") << QStringLiteral("libopus") << QStringLiteral("-b:a")
             << QStringLiteral("128k") << QStringLiteral("-f") << QStringLiteral("webm");
    args << s.outputPath;
    return args;
}

FfmpegEncoder::FfmpegEncoder(const EncoderSettings& settings, const QString& program)
    : settings_(settings) {
    if (program.isEmpty())
        throw Exception(missingProgramMessage());
    process_ = std::make_unique<ChildProcess>(program, arguments(settings), 2);
}

FfmpegEncoder::~FfmpegEncoder() = default;

void FfmpegEncoder::writeFrame(const QImage& frame) {
    if (frame.size() != settings_.size)
        throw Exception(QStringLiteral("書き出す画像の大きさが違います"));
    const QByteArray& bytes = frames_.convert(frame);
    process_->queue(VideoPipe, bytes);
    waitForFrames(bytes.size());
}

// Normally one frame waits beside the one ffmpeg is reading. Only when ffmpeg stops
// reading frames while it has taken all the sound do more wait in memory: it then needs
// sound that is mixed only as later frames are made, and blocking here would leave both
// sides waiting for each other.
void FfmpegEncoder::waitForFrames(qsizetype frameBytes) {
    QElapsedTimer sinceTaken;
    sinceTaken.start();
    qsizetype last = process_->pending(VideoPipe);
    while (process_->pending(VideoPipe) > frameBytes) {
        checkRunning();
        const bool starved = sinceTaken.elapsed() >= StallMs && process_->pending(AudioPipe) == 0;
        if (starved && process_->pending(VideoPipe) <= std::max(MaxWaitingBytes, 2 * frameBytes))
            return;
        process_->pump(50);
        if (process_->pending(VideoPipe) != last) {
            last = process_->pending(VideoPipe);
            sinceTaken.restart();
        }
    }
    checkRunning();
}

void FfmpegEncoder::writeAudio(const int16_t* frames, int64_t count) {
    if (count <= 0)
        return;
    // The sound is small: it waits in memory until ffmpeg takes it.
    process_->queue(AudioPipe, QByteArray(reinterpret_cast<const char*>(frames),
                                          qsizetype(count * 2 * sizeof(int16_t))));
    process_->pump(0);
    checkRunning();
}

void FfmpegEncoder::checkRunning() {
    if ((cancel_ && cancel_->load()) || process_->broken(VideoPipe) || process_->broken(AudioPipe))
        fail();
}

void FfmpegEncoder::finish() {
    // At this log level anything ffmpeg says is an error, even with a status of 0.
    if (!process_->finish(cancel_) || !process_->exitedNormally() ||
        !process_->messages().isEmpty())
        fail();
}

void FfmpegEncoder::fail() {
    if (cancel_ && cancel_->load()) {
        process_->kill();
        throw EExportCancelled();
    }
    // ffmpeg has stopped taking input or has ended: let it say why.
    process_->finish(cancel_);
    QString message =
        formatMessage(QStringLiteral("ffmpeg が失敗しました (%s)"), {process_->exitDescription()});
    const QString said = process_->messages();
    if (!said.isEmpty())
        message += QStringLiteral(": ") + said;
    throw Exception(message);
}

} // namespace quillon
