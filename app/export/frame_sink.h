#pragma once
// Where the export's one frame loop puts a card: a still picture, a PNG sequence, or
// the ffmpeg program. The loop decides which frames and what sound go in (by the
// format's row); a sink only writes them, and puts the file in place at finish().
#include "app/export/export_formats.h"

#include <QImage>
#include <cstdint>
#include <vector>

namespace quillon {

class FrameSink {
public:
    virtual ~FrameSink() = default;
    // Frame index of the grid (in order), shown until the next one written.
    virtual void writeFrame(const QImage& frame, int64_t index) = 0;
    // Frame index shows the same picture as the last one written.
    virtual void repeatFrame(int64_t index) { (void)index; }
    // Interleaved samples at the row's rate and channels.
    virtual void writeSound(const std::vector<int16_t>& samples) { (void)samples; }
    // Everything is written: the file goes into place. Without it nothing is left.
    virtual void finish() = 0;
};

// The finished card alone, as a PNG file.
std::unique_ptr<FrameSink> makeStillSink(const ExportOptions& options, const ExportFormatRow& row,
                                         const std::atomic_bool& cancel);
// A PNG file per frame and sound.wav, made in a hidden folder and moved into place.
std::unique_ptr<FrameSink> makeSequenceSink(const ExportOptions& options,
                                            const ExportFormatRow& row,
                                            const std::atomic_bool& cancel);
// A video or an animation made by the ffmpeg program.
std::unique_ptr<FrameSink> makeFfmpegSink(const ExportOptions& options, const ExportFormatRow& row,
                                          const std::atomic_bool& cancel);

} // namespace quillon
