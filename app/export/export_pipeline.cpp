#include "app/export/export_pipeline.h"

#include "platform/core/pending_file.h"
#include "platform/media/ffmpeg_encoder.h"
#include "platform/sound/dxwavelist.h"
#include "platform/sound/loopback_mixer.h"
#include "presentation/built_in_sounds.h"

#include <QBuffer>
#include <QImageWriter>
#include <cerrno>

namespace quillon {

namespace {

[[noreturn]] void cannotWrite(const QString& file, const QString& why = {}) {
    QString message = formatMessage(QStringLiteral("%s に書き込めません"), {file});
    if (!why.isEmpty())
        message += QStringLiteral(" (") + why + QLatin1Char(')');
    throw Exception(message);
}

void checkFrame(const QImage& image, const ExportOptions& options) {
    if (image.isNull() || image.size() != options.size)
        throw Exception(QStringLiteral("カードの絵を描けませんでした"));
}

// A card is white on black: when every pixel is a grey, the picture is written as grey
// levels, with nothing lost, in half the size and time.
QImage asWritten(const QImage& card) {
    const QImage rgb = card.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            if (qRed(line[x]) != qGreen(line[x]) || qGreen(line[x]) != qBlue(line[x]))
                return card;
    }
    return rgb.convertToFormat(QImage::Format_Grayscale8);
}

void exportPicture(ExportSource& source, const ExportOptions& options,
                   const ExportProgressCallback& progress) {
    const QImage card = source.finishedCard();
    checkFrame(card, options);
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    QImageWriter writer(&png, "png");
    if (!writer.write(asWritten(card)))
        cannotWrite(options.file, writer.errorString());
    // Written beside the target under another name and renamed when complete.
    PendingFile file(options.file);
    if (!file.write(png.data()) || !file.tryCommit())
        cannotWrite(options.file, qt_error_string(errno));
    if (progress)
        progress(ExportProgress{1, 1});
}

void encodeVideo(ExportSource& source, const ExportOptions& options, const QString& program,
                 const QString& path, LoopbackMixer& mixer, const ExportProgressCallback& progress,
                 const std::atomic_bool& cancel) {
    EncoderSettings settings;
    settings.outputPath = path;
    settings.format = options.format == ExportFormat::WebM ? VideoFormat::WebM : VideoFormat::Mp4;
    settings.size = options.size;
    settings.fps = options.fps;
    settings.sampleRate = ExportSampleRate;
    FfmpegEncoder encoder(settings, program);
    encoder.setCancelFlag(&cancel);

    const int64_t expected = source.expectedFrames();
    std::vector<int16_t> sound;
    int64_t frames = 0;
    while (!source.atEnd()) {
        if (cancel.load())
            throw EExportCancelled();
        const QImage frame = source.nextFrame();
        checkFrame(frame, options);
        for (const CueStart& cue : source.takeCues())
            mixer.startCue(cue.name, cue.sample);
        ++frames;
        // The sound first: ffmpeg then never waits for sound behind a frame it holds.
        sound.clear();
        mixer.renderUntil(sampleOfFrame(frames, options.fps), sound);
        encoder.writeAudio(sound.data(), int64_t(sound.size() / 2));
        encoder.writeFrame(frame);
        if (progress)
            progress(ExportProgress{frames, std::max(expected, frames)});
    }
    if (frames == 0)
        throw Exception(QStringLiteral("カードの絵を描けませんでした"));
    sound.clear();
    mixer.finish(sampleOfFrame(frames, options.fps), sound);
    encoder.writeAudio(sound.data(), int64_t(sound.size() / 2));
    encoder.finish();
}

void exportVideo(ExportSource& source, const ExportOptions& options,
                 const ExportProgressCallback& progress, const std::atomic_bool& cancel) {
    // Before anything is created: without ffmpeg there is nothing to do.
    const QString program = FfmpegEncoder::findProgram();
    if (program.isEmpty())
        throw Exception(FfmpegEncoder::missingProgramMessage());
    LoopbackMixer mixer;
    loadCardSounds(mixer);

    PendingFile pending(options.file);
    try {
        encodeVideo(source, options, program, pending.path(), mixer, progress, cancel);
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
    LoadBuiltInSounds(list);
    TWaveCollection& items = *list.Items();
    for (int i = 0; i < items.Count(); ++i)
        mixer.addSound(items.Item(i)->Name(), items.Item(i)->Wave());
}

void exportCard(ExportSource& source, const ExportOptions& options,
                const ExportProgressCallback& progress, const std::atomic_bool& cancel) {
    if (options.format == ExportFormat::Png)
        exportPicture(source, options, progress);
    else
        exportVideo(source, options, progress, cancel);
}

} // namespace quillon
