#include "app/export/export_pipeline.h"

#include "app/export/frame_sink.h"
#include "platform/media/repeated_frames.h"
#include "platform/sound/cue_mixer.h"
#include "platform/sound/wave.h"
#include "presentation/built_in_sounds.h"

#include <QCoreApplication>
#include <memory>

namespace quillon {

namespace {

[[noreturn]] void cannotDraw() {
    throw Exception(QCoreApplication::translate("Export", "カードの絵を描けませんでした"));
}

void checkFrame(const QImage& image, const ExportOptions& options) {
    if (image.isNull() || image.size() != options.size)
        cannotDraw();
}

// The card played frame by frame into the sink: the frames the format wants, and the
// sound mixed up to the end of each frame before the frame, so that ffmpeg never waits
// for sound behind a frame it holds.
void playInto(FrameSink& sink, ExportSource& source, const ExportOptions& options,
              const ExportFormatRow& row, const ExportProgressCallback& progress,
              const std::atomic_bool& cancel) {
    // Made while ffmpeg starts. The animations have no sound: nothing to mix.
    std::unique_ptr<CueMixer> mixer;
    if (row.soundRate > 0) {
        mixer = makeCueMixer(row.soundRate, row.soundChannels);
        loadCardSounds(*mixer);
    }
    RepeatedFrames repeats(row.repeats == FrameRepeats::EverySecond ? options.fps
                                                                    : RepeatedFrames::NoGap);
    const int64_t expected = source.expectedFrames();
    std::vector<int16_t> sound;
    int64_t frames = 0;
    while (!source.atEnd()) {
        if (cancel.load())
            throw EExportCancelled();
        const QImage frame = source.nextFrame();
        checkFrame(frame, options);
        const std::vector<CueStart> cues = source.takeCues();
        const int64_t index = frames++;
        if (mixer) {
            for (const CueStart& cue : cues)
                mixer->startCue(cue.name, cue.sample * row.soundRate / ExportSampleRate);
            sound.clear();
            mixer->renderUntil(sampleOfFrame(frames, options.fps, row.soundRate), sound);
            sink.writeSound(sound);
        }
        if (repeats.needed(frame, index))
            sink.writeFrame(frame, index);
        else if (row.repeats == FrameRepeats::EveryFrame)
            sink.repeatFrame(index);
        if (progress)
            progress(ExportProgress{frames, std::max(expected, frames)});
    }
    if (frames == 0)
        cannotDraw();
    if (mixer) {
        sound.clear();
        mixer->finish(sampleOfFrame(frames, options.fps, row.soundRate), sound);
        sink.writeSound(sound);
    }
    // The last frame ends the video where the sound ends.
    if (row.repeats != FrameRepeats::EveryFrame && repeats.lastUnsent()) {
        sink.writeFrame(repeats.lastPicture(), repeats.lastIndex());
        repeats.sentLast();
    }
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

void loadCardSounds(CueMixer& mixer) {
    for (const BuiltInSound& sound : builtInSounds()) {
        TWave wave;
        readBuiltInWave(sound, wave);
        mixer.addSound(sound.name, wave);
    }
}

void exportCard(ExportSource& source, const ExportOptions& options,
                const ExportProgressCallback& progress, const std::atomic_bool& cancel) {
    const ExportFormatRow& row = exportFormatRow(options.format);
    const std::unique_ptr<FrameSink> sink = row.makeSink(options, row, cancel);
    if (row.repeats == FrameRepeats::Still) {
        const QImage card = source.finishedCard();
        checkFrame(card, options);
        sink->writeFrame(card, 0);
        if (progress)
            progress(ExportProgress{1, 1});
    } else {
        playInto(*sink, source, options, row, progress, cancel);
    }
    if (cancel.load())
        throw EExportCancelled();
    sink->finish();
}

} // namespace quillon
