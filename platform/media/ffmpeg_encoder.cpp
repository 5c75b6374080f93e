#include "platform/media/ffmpeg_encoder.h"

#include "platform/core/error.h"
#include "platform/media/child_process.h"
#include "platform/media/ffmpeg_hint.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <algorithm>
#include <cstring>

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

// The program's own folder first: on Windows, where nothing installs ffmpeg, a user puts
// ffmpeg.exe beside quillon.exe.
QString FfmpegEncoder::findProgram() {
    const QString name = QStringLiteral("ffmpeg");
    const QString beside =
        QStandardPaths::findExecutable(name, {QCoreApplication::applicationDirPath()});
    return beside.isEmpty() ? QStandardPaths::findExecutable(name) : beside;
}

QString FfmpegEncoder::missingProgramMessage() {
    return formatMessage(
        QCoreApplication::translate("Errors",
                                    "動画の書き出しには ffmpeg が必要ですが、%s にも PATH "
                                    "のフォルダにもありません。%s"),
        {QDir::toNativeSeparators(QCoreApplication::applicationDirPath()), ffmpegInstallHint()});
}

QStringList ffmpegWords(std::initializer_list<const char*> words) {
    QStringList out;
    for (const char* w : words)
        out << QString::fromLatin1(w);
    return out;
}

namespace {

// The frames' stream: IVF, a 32-byte header, then each frame behind its size and its
// number on the grid.
QByteArray ivfHeader(const EncoderSettings& s) {
    QByteArray header(32, '\0');
    auto put16 = [&](int at, uint32_t v) {
        header[at] = char(v & 0xff);
        header[at + 1] = char(v >> 8);
    };
    auto put32 = [&](int at, uint32_t v) {
        put16(at, v & 0xffff);
        put16(at + 2, v >> 16);
    };
    header.replace(0, 4, "DKIF");
    put16(6, 32);
    header.replace(8, 4, s.rgbaFrames ? "RGBA" : "I420");
    put16(12, uint32_t(s.size.width()));
    put16(14, uint32_t(s.size.height()));
    put32(16, uint32_t(s.fps)); // time base 1 / fps
    put32(20, 1);
    return header;
}

QByteArray ivfFrameHeader(qsizetype bytes, int64_t index) {
    QByteArray header(12, '\0');
    for (int i = 0; i < 4; ++i)
        header[i] = char((uint64_t(bytes) >> (8 * i)) & 0xff);
    for (int i = 0; i < 8; ++i)
        header[4 + i] = char((uint64_t(index) >> (8 * i)) & 0xff);
    return header;
}

} // namespace

QStringList FfmpegEncoder::arguments(const EncoderSettings& s) {
    QStringList args =
        ffmpegWords({"-hide_banner", "-nostdin", "-loglevel", "error", "-y",
                     // Without this a write error at the end (a full disk) still
                     // exits with 0.
                     "-xerror",
                     // Frames on descriptor 3, sound on 4. Both are described in
                     // full, so nothing is read ahead to guess what they are.
                     "-probesize", "32", "-analyzeduration", "0", "-f", "ivf", "-i", "pipe:3"});
    if (s.sampleRate > 0)
        args << ffmpegWords({"-probesize", "32", "-analyzeduration", "0", "-f", "s16le", "-ar"})
             << QString::number(s.sampleRate) << QStringLiteral("-ac")
             << QString::number(s.channels)
             << ffmpegWords({"-i", "pipe:4", "-map", "0:v:0", "-map", "1:a:0"});
    else
        args << ffmpegWords({"-map", "0:v:0"});
    args << s.output << s.outputPath;
    return args;
}

FfmpegEncoder::FfmpegEncoder(const EncoderSettings& settings, const QString& program)
    : settings_(settings) {
    if (program.isEmpty())
        throw Exception(missingProgramMessage());
    process_ = std::make_unique<ChildProcess>(program, arguments(settings),
                                              settings.sampleRate > 0 ? 2 : 1);
    process_->queue(VideoPipe, ivfHeader(settings));
}

FfmpegEncoder::~FfmpegEncoder() = default;

void FfmpegEncoder::writeFrame(const QImage& frame, int64_t index) {
    if (frame.size() != settings_.size)
        throw Exception(QCoreApplication::translate("Errors", "書き出す画像の大きさが違います"));
    const QByteArray& bytes = payloadOf(frame);
    process_->queue(VideoPipe, ivfFrameHeader(bytes.size(), index));
    process_->queue(VideoPipe, bytes);
    waitForFrames(bytes.size());
}

const QByteArray& FfmpegEncoder::payloadOf(const QImage& frame) {
    if (!settings_.rgbaFrames)
        return frames_.convert(frame);
    if (alphaBytes_.isEmpty() || frame.cacheKey() != alphaOf_) {
        alphaOf_ = frame.cacheKey();
        const QImage rgba = frame.convertToFormat(QImage::Format_RGBA8888);
        // A fresh array: the previous one may still wait in a pipe.
        alphaBytes_ = QByteArray(qsizetype(rgba.width()) * rgba.height() * 4, Qt::Uninitialized);
        const qsizetype line = qsizetype(rgba.width()) * 4;
        for (int y = 0; y < rgba.height(); ++y)
            std::memcpy(alphaBytes_.data() + y * line, rgba.constScanLine(y), size_t(line));
    }
    return alphaBytes_;
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
        const bool starved = sinceTaken.elapsed() >= StallMs &&
                             (settings_.sampleRate == 0 || process_->pending(AudioPipe) == 0);
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
    if (count <= 0 || settings_.sampleRate == 0)
        return;
    // The sound is small: it waits in memory until ffmpeg takes it.
    process_->queue(AudioPipe, QByteArray(reinterpret_cast<const char*>(frames),
                                          qsizetype(count * settings_.channels * sizeof(int16_t))));
    process_->pump(0);
    checkRunning();
}

void FfmpegEncoder::checkRunning() {
    const bool soundBroken = settings_.sampleRate > 0 && process_->broken(AudioPipe);
    if ((cancel_ && cancel_->load()) || process_->broken(VideoPipe) || soundBroken)
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
        if (raiseCancelled_)
            raiseCancelled_();
    }
    // ffmpeg has stopped taking input or has ended: let it say why.
    process_->finish(cancel_);
    QString message =
        formatMessage(QCoreApplication::translate("Errors", "ffmpeg が失敗しました (%s)"),
                      {process_->exitDescription()});
    QString said = process_->messages();
    // ffmpeg names the file it writes; the user knows only the one named.
    if (!settings_.shownPath.isEmpty())
        said.replace(settings_.outputPath, settings_.shownPath);
    if (!said.isEmpty())
        message += QStringLiteral(": ") + said;
    throw Exception(message);
}

} // namespace quillon
