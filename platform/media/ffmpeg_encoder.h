#pragma once
// Encoding by the ffmpeg program: raw frames and raw sound go in through two pipes,
// the finished file comes out. The program's libraries are not linked. Each frame
// carries its place on the frame grid, so a frame that only repeats the one before
// need not be sent at all.
#include "platform/core/error.h"
#include "platform/media/yuv_frames.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace quillon {

class ChildProcess;

struct EncoderSettings {
    QString outputPath; // written by ffmpeg; the format is named explicitly, not guessed
    QString shownPath;  // what messages call outputPath (the file the user named)
    QSize size;
    int fps = 30;
    int sampleRate = 0;      // 16-bit interleaved sound; 0: none
    int channels = 1;        // of the sound
    bool alpha = false;      // the file keeps the frames' alpha
    bool rgbaFrames = false; // frames go as RGBA; else as 4:2:0 made here
    int loops = 0;           // for animations: how often they repeat; 0 forever
    QStringList output;      // what ffmpeg makes of the streams: codecs, container
};

// ffmpeg's arguments written as plain words.
QStringList ffmpegWords(std::initializer_list<const char*> words);

class FfmpegEncoder {
public:
    // The ffmpeg beside the program, else the one on the search path; empty when there is
    // none.
    static QString findProgram();
    // The message for a missing ffmpeg, naming where it was looked for and how to get it.
    static QString missingProgramMessage();

    // Starts ffmpeg (the path from findProgram unless one is given). Raises
    // missingProgramMessage() when there is none.
    explicit FfmpegEncoder(const EncoderSettings& settings, const QString& program = findProgram());
    // Kills ffmpeg if the encoding was not finished.
    ~FfmpegEncoder();

    // Stops waiting on ffmpeg when the flag is set: ffmpeg is killed and raise is
    // called, which must throw.
    void setCancel(const std::atomic_bool* flag, std::function<void()> raise) {
        cancel_ = flag;
        raiseCancelled_ = std::move(raise);
    }

    // Frame number index of the grid (1 / fps each), shown until the next one written;
    // indexes must grow. settings.size. Raises when ffmpeg stopped taking input.
    void writeFrame(const QImage& frame, int64_t index);
    // count interleaved sample frames of settings.channels.
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
    std::function<void()> raiseCancelled_;
};

} // namespace quillon
