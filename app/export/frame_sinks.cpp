#include "app/export/export_pipeline.h"
#include "app/export/frame_sink.h"
#include "platform/core/pending_file.h"
#include "platform/media/ffmpeg_encoder.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageWriter>
#include <cerrno>

namespace quillon {

namespace {

[[noreturn]] void cannotWrite(const QString& file, const QString& why = {}) {
    QString message =
        formatMessage(QCoreApplication::translate("Export", "%s に書き込めません"), {file});
    if (!why.isEmpty())
        message += QStringLiteral(" (") + why + QLatin1Char(')');
    throw Exception(message);
}

// The finished card as one PNG file, written beside the target under another name and
// renamed when complete.
class StillSink : public FrameSink {
public:
    explicit StillSink(const QString& file) : file_(file) {}

    void writeFrame(const QImage& frame, int64_t) override {
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        QImageWriter writer(&png, "png");
        if (!writer.write(pngPictureOf(frame)))
            cannotWrite(file_.target(), writer.errorString());
        if (!file_.write(png.data()))
            cannotWrite(file_.target(), qt_error_string(errno));
    }

    void finish() override {
        if (!file_.tryCommit())
            cannotWrite(file_.target(), qt_error_string(errno));
    }

private:
    PendingFile file_; // made first: a folder that cannot be written fails before drawing
};

class FfmpegSink : public FrameSink {
public:
    FfmpegSink(const EncoderSettings& settings, std::unique_ptr<PendingFile> pending,
               const QString& program, const std::atomic_bool& cancel)
        : channels_(std::max(1, settings.channels)), pending_(std::move(pending)),
          encoder_(settings, program) {
        encoder_.setCancel(&cancel, [] { throw EExportCancelled(); });
    }

    void writeFrame(const QImage& frame, int64_t index) override {
        encoder_.writeFrame(frame, index);
    }

    void writeSound(const std::vector<int16_t>& samples) override {
        encoder_.writeAudio(samples.data(), int64_t(samples.size()) / channels_);
    }

    void finish() override {
        encoder_.finish();
        pending_->commit();
    }

private:
    int channels_;
    std::unique_ptr<PendingFile> pending_; // outlives ffmpeg, which writes it
    FfmpegEncoder encoder_;
};

} // namespace

std::unique_ptr<FrameSink> makeStillSink(const ExportOptions& options, const ExportFormatRow&,
                                         const std::atomic_bool&) {
    return std::make_unique<StillSink>(options.file);
}

std::unique_ptr<FrameSink> makeFfmpegSink(const ExportOptions& options, const ExportFormatRow& row,
                                          const std::atomic_bool& cancel) {
    // Before anything is created: without ffmpeg there is nothing to do.
    const QString program = FfmpegEncoder::findProgram();
    if (program.isEmpty())
        throw Exception(FfmpegEncoder::missingProgramMessage());
    auto pending = std::make_unique<PendingFile>(options.file);
    EncoderSettings settings;
    settings.outputPath = pending->path();
    settings.shownPath = options.file;
    settings.size = options.size;
    settings.fps = options.fps;
    settings.sampleRate = row.soundRate;
    settings.channels = row.soundChannels;
    settings.alpha = row.alpha == FormatAlpha::Always ||
                     (row.alpha == FormatAlpha::WhenAsked && options.style.transparent);
    settings.rgbaFrames = settings.alpha || !row.yuvFrames;
    settings.loops = options.loops;
    settings.output = row.ffmpegOutput(settings);
    return std::make_unique<FfmpegSink>(settings, std::move(pending), program, cancel);
}

} // namespace quillon
