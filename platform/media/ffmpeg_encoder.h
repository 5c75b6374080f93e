#pragma once
// Encoding by the ffmpeg program: raw frames and raw sound go in through two pipes,
// the finished file comes out. The program's libraries are not linked. Each frame
// carries its place on the frame grid, so a frame that only repeats the one before
// need not be sent at all.
#include "platform/core/error.h"
#include "platform/media/yuv_frames.h"

#include <QCoreApplication>
#include <QImage>
#include <QSize>
#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace quillon {

class ChildProcess;

// The user stopped the export; nothing is left behind.
class EExportCancelled : public Exception {
public:
    EExportCancelled()
        : Exception(QCoreApplication::translate("Errors", "書き出しを取り消しました")) {}
};

enum class VideoFormat {
    Mp4,  // H.264 (yuv420p) with AAC, index at the front for streaming
    WebM, // VP9 (yuv420p, or yuva420p with alpha) with Opus
    Mov,  // ProRes 4444 with its alpha channel, 16-bit PCM, every frame of the grid
    Gif,  // a palette made from the frames, no sound, looping
    WebP, // animated, lossless, no sound, looping
};

// Whether the format carries sound.
bool hasSound(VideoFormat format);
// Whether the format can keep an alpha channel.
bool keepsAlpha(VideoFormat format);

struct EncoderSettings {
    QString outputPath; // written by ffmpeg; the format is named explicitly, not guessed
    VideoFormat format = VideoFormat::Mp4;
    QSize size;
    int fps = 30;
    int sampleRate = 48000; // 16-bit interleaved stereo
    bool alpha = false;     // the file keeps the frames' alpha (32-bit ARGB)
    int loops = 0;          // GIF and WebP: how often the animation repeats; 0 forever
};

class FfmpegEncoder {
public:
    // The ffmpeg on the search path; empty when there is none.
    static QString findProgram();
    // The message for a missing ffmpeg, naming the package to install.
    static QString missingProgramMessage();

    // Starts ffmpeg (the path from findProgram unless one is given). Raises
    // missingProgramMessage() when there is none.
    explicit FfmpegEncoder(const EncoderSettings& settings, const QString& program = findProgram());
    // Kills ffmpeg if the encoding was not finished.
    ~FfmpegEncoder();

    // Stops waiting on ffmpeg when set; the call then raises EExportCancelled.
    void setCancelFlag(const std::atomic_bool* cancel) { cancel_ = cancel; }

    // Frame number index of the grid (1 / fps each), shown until the next one written;
    // indexes must grow. settings.size. Raises when ffmpeg stopped taking input.
    void writeFrame(const QImage& frame, int64_t index);
    // Interleaved stereo frames.
    void writeAudio(const int16_t* frames, int64_t count);
    // Ends both streams and waits for the file. Raises with ffmpeg's own message when
    // it failed or was killed.
    void finish();

    // The arguments given to ffmpeg.
    static QStringList arguments(const EncoderSettings& settings);

private:
    void waitForFrames(qsizetype frameBytes);
    const QByteArray& payloadOf(const QImage& frame);
    void checkRunning();
    [[noreturn]] void fail();
    EncoderSettings settings_;
    std::unique_ptr<ChildProcess> process_;
    Yuv420Frames frames_;
    QByteArray alphaBytes_; // the last frame with alpha as ffmpeg takes it: R, G, B, A
    qint64 alphaOf_ = 0;
    const std::atomic_bool* cancel_ = nullptr;
};

} // namespace quillon
