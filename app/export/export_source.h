#pragma once
// What the export takes from a card played on a virtual clock: its frames, the cues
// it starts, and the finished card as a still picture.
#include "platform/sound/timed_cues.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace quillon {

struct ExportOptions;

// The sample rate of the exported sound; cue positions are counted in it.
constexpr int ExportSampleRate = 48000;

// A cue's name is a built-in sound's, matched without regard to letter case; its sample
// is counted at ExportSampleRate.

// A text the card showed, on its own clock: a typed character alone (line 1 only),
// or the finished card, from the moment its page went up to the moment the next page
// replaced it or the hold ended.
struct ShownText {
    QByteArray line1; // Shift-JIS
    QByteArray line2;
    int64_t fromMs = 0;
    int64_t untilMs = 0;
};

// Frame k (counting from 0) is the picture shown from k / fps to (k + 1) / fps. After
// the call that returns it, every cue that starts before (k + 1) / fps can be taken,
// so the sound can be mixed up to the end of the frame.
class ExportSource {
public:
    virtual ~ExportSource() = default;
    virtual QSize frameSize() const = 0;
    virtual int fps() const = 0;
    // How many frames the whole card takes; only the progress display uses it.
    virtual int64_t expectedFrames() const = 0;
    virtual bool atEnd() const = 0;               // the whole hold has been shown
    virtual QImage nextFrame() = 0;               // advances one frame period
    virtual std::vector<CueStart> takeCues() = 0; // started so far and not yet taken
    virtual QImage finishedCard() = 0;            // for .png: the finished card at frameSize()
    // The characters and the card shown so far, in order; complete once atEnd().
    virtual std::vector<ShownText> shownTexts() const { return {}; }
};

// Makes the card's source for the lines, size, frame rate and seed of the options.
// Called on the thread that then drives the source.
using ExportSourceFactory = std::function<std::unique_ptr<ExportSource>(const ExportOptions&)>;

} // namespace quillon
