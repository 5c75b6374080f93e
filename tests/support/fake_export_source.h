#pragma once
// A card for the export without the card engine: a fixed number of frames and cues.
// Plain frames are solid grey levels; with glyphs, each few frames show one large
// white character on black (as the typing does) and the last ones a two-line card.
#include "app/export/export_source.h"

#include <functional>

namespace quillon::testing {

struct FakeCard {
    QSize size{320, 240};
    int fps = 30;
    int64_t frames = 10;
    std::vector<CueStart> cues; // handed out once their sample falls in a shown frame
    bool glyphs = false;
    int framesPerGlyph = 7;
    std::function<void(int64_t frame)> onFrame; // called before each frame is made
};

class FakeExportSource : public ExportSource {
public:
    explicit FakeExportSource(FakeCard card);
    QSize frameSize() const override { return card_.size; }
    int fps() const override { return card_.fps; }
    int64_t expectedFrames() const override { return card_.frames; }
    bool atEnd() const override { return shown_ >= card_.frames; }
    QImage nextFrame() override;
    std::vector<CueStart> takeCues() override;
    QImage finishedCard() override;

    // The grey level of plain frame k.
    static int greyOf(int64_t frame) { return int(frame * 40 % 256); }

private:
    QImage glyphFrame(int64_t frame);
    FakeCard card_;
    int64_t shown_ = 0;
    size_t nextCue_ = 0;
    int64_t glyph_ = -1;
    QImage page_;
};

} // namespace quillon::testing
