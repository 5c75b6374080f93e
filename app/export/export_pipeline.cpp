#include "app/export/export_pipeline.h"

#include "app/export/frame_sequence.h"
#include "platform/core/pending_file.h"
#include "platform/media/ffmpeg_encoder.h"
#include "platform/media/repeated_frames.h"
#include "platform/sound/dxwavelist.h"
#include "platform/sound/loopback_mixer.h"
#include "presentation/built_in_sounds.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageWriter>
#include <cerrno>
#include <optional>

namespace quillon {

namespace {

[[noreturn]] void cannotWrite(const QString& file, const QString& why = {}) {
    QString message =
        formatMessage(QCoreApplication::translate("Export", "%s に書き込めません"), {file});
    if (!why.isEmpty())
        message += QStringLiteral(" (") + why + QLatin1Char(')');
    throw Exception(message);
}

void checkFrame(const QImage& image, const ExportOptions& options) {
    if (image.isNull() || image.size() != options.size)
        throw Exception(QCoreApplication::translate("Export", "カードの絵を描けませんでした"));
}

} // namespace

QImage pngPictureOf(const QImage& card) {
    if (card.hasAlphaChannel())
        return card;
    const QImage rgb = card.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            if (qRed(line[x]) != qGreen(line[x]) || qGreen(line[x]) != qBlue(line[x]))
                return card;
    }
    return rgb.convertToFormat(QImage::Format_Grayscale8);
}

namespace {

void exportPicture(ExportSource& source, const ExportOptions& options,
                   const ExportProgressCallback& progress) {
    const QImage card = source.finishedCard();
    checkFrame(card, options);
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    QImageWriter writer(&png, "png");
    if (!writer.write(pngPictureOf(card)))
        cannotWrite(options.file, writer.errorString());
    // Written beside the target under another name and renamed when complete.
    PendingFile file(options.file);
    if (!file.write(png.data()) || !file.tryCommit())
        cannotWrite(options.file, qt_error_string(errno));
    if (progress)
        progress(ExportProgress{1, 1});
}

VideoFormat videoFormatOf(ExportFormat format) {
    switch (format) {
    case ExportFormat::WebM:
        return VideoFormat::WebM;
    case ExportFormat::Mov:
        return VideoFormat::Mov;
    case ExportFormat::Gif:
        return VideoFormat::Gif;
    case ExportFormat::WebP:
        return VideoFormat::WebP;
    default:
        return VideoFormat::Mp4;
    }
}

void encodeVideo(ExportSource& source, const ExportOptions& options, const QString& program,
                 const QString& path, const ExportProgressCallback& progress,
                 const std::atomic_bool& cancel) {
    EncoderSettings settings;
    settings.outputPath = path;
    settings.format = videoFormatOf(options.format);
    settings.size = options.size;
    settings.fps = options.fps;
    settings.sampleRate = ExportSampleRate;
    settings.alpha = options.style.transparent || options.format == ExportFormat::Mov;
    settings.loops = options.loops;
    FfmpegEncoder encoder(settings, program);
    encoder.setCancelFlag(&cancel);
    // Made while ffmpeg starts. The animations have no sound: nothing to mix.
    std::optional<LoopbackMixer> mixed;
    if (hasSound(settings.format)) {
        mixed.emplace();
        loadCardSounds(*mixed);
    }
    LoopbackMixer* mixer = mixed ? &*mixed : nullptr;
    // A page held for many frames goes to ffmpeg once; to a video player again once a
    // second. The animations time each frame themselves, and the editors' file gets
    // every frame made by ffmpeg.
    const bool player = options.format == ExportFormat::Mp4 || options.format == ExportFormat::WebM;
    RepeatedFrames repeats(player ? options.fps : RepeatedFrames::NoGap);

    const int64_t expected = source.expectedFrames();
    std::vector<int16_t> sound;
    int64_t frames = 0;
    while (!source.atEnd()) {
        if (cancel.load())
            throw EExportCancelled();
        const QImage frame = source.nextFrame();
        checkFrame(frame, options);
        const std::vector<CueStart> cues = source.takeCues();
        ++frames;
        // The sound first: ffmpeg then never waits for sound behind a frame it holds.
        if (mixer) {
            for (const CueStart& cue : cues)
                mixer->startCue(cue.name, cue.sample);
            sound.clear();
            mixer->renderUntil(sampleOfFrame(frames, options.fps), sound);
            encoder.writeAudio(sound.data(), int64_t(sound.size() / 2));
        }
        if (repeats.needed(frame, frames - 1))
            encoder.writeFrame(frame, frames - 1);
        if (progress)
            progress(ExportProgress{frames, std::max(expected, frames)});
    }
    if (frames == 0)
        throw Exception(QCoreApplication::translate("Export", "カードの絵を描けませんでした"));
    if (mixer) {
        sound.clear();
        mixer->finish(sampleOfFrame(frames, options.fps), sound);
        encoder.writeAudio(sound.data(), int64_t(sound.size() / 2));
    }
    // The last frame ends the video where the sound ends.
    if (repeats.lastUnsent()) {
        encoder.writeFrame(repeats.lastPicture(), repeats.lastIndex());
        repeats.sentLast();
    }
    encoder.finish();
}

void exportVideo(ExportSource& source, const ExportOptions& options,
                 const ExportProgressCallback& progress, const std::atomic_bool& cancel) {
    // Before anything is created: without ffmpeg there is nothing to do.
    const QString program = FfmpegEncoder::findProgram();
    if (program.isEmpty())
        throw Exception(FfmpegEncoder::missingProgramMessage());
    PendingFile pending(options.file);
    try {
        encodeVideo(source, options, program, pending.path(), progress, cancel);
    } catch (const EExportCancelled&) {
        throw;
    } catch (const Exception& error) {
        // ffmpeg names the file it wrote; the user knows only the target.
        QString message = error.message();
        throw Exception(message.replace(pending.path(), options.file));
    }
    if (cancel.load())
        throw EExportCancelled();
    pending.commit();
}

} // namespace

void loadCardSounds(LoopbackMixer& mixer) {
    TDXWaveList list(nullptr);
    loadBuiltInSounds(list);
    TWaveCollection& items = *list.Items();
    for (int i = 0; i < items.count(); ++i)
        mixer.addSound(items.item(i)->Name(), items.item(i)->Wave());
}

void exportCard(ExportSource& source, const ExportOptions& options,
                const ExportProgressCallback& progress, const std::atomic_bool& cancel) {
    if (options.format == ExportFormat::Png)
        exportPicture(source, options, progress);
    else if (options.format == ExportFormat::PngSequence)
        exportFrameSequence(source, options, progress, cancel);
    else
        exportVideo(source, options, progress, cancel);
}

} // namespace quillon
