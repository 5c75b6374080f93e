#include "app/saver/saver_loop.h"

#include "platform/display/flip_pages.h"
#include "platform/display/surface.h"
#include "platform/text/sjis.h"
#include "platform/timer/frame_timer.h"
#include "presentation/live_settings.h"
#include "presentation/title_drawing.h"

namespace quillon {

SaverLoop::SaverLoop(const Parts& parts, uint32_t seed, std::optional<uint32_t> holdMs)
    : parts_(parts),
      engine_({parts.timer, seedClock_, cardRandom_, parts.pages, parts.sound, parts.settings}) {
    choices_.setSeed(seed);
    engine_.holdOverride = holdMs;
    engine_.OnHoldEnd = [this] { holdEnded(); };
}

void SaverLoop::start() {
    nextCard();
}

void SaverLoop::tick() {
    if (pausing_)
        nextCard();
    else
        engine_.DXTimerTimer();
}

void SaverLoop::nextCard() {
    pausing_ = false;
    ++cards_;
    const SubtitleLines lines = parts_.nextSubtitle(choices_);
    engine_.begin(lines.line1, lines.line2);
    engine_.start();
}

void SaverLoop::holdEnded() {
    engine_.blank();
    pausing_ = true;
    parts_.timer.setInterval(PauseMs);
    parts_.timer.setEnabled(true);
}

void SaverLoop::blank() {
    if (TDirectDrawSurface* back = parts_.pages.BackSurface())
        back->ColorFill(0);
    parts_.pages.Flip();
}

void SaverLoop::redraw() {
    if (!parts_.pages.ReadyToDraw())
        return;
    const LiveSettings& settings = parts_.settings;
    if (cards_ == 0 || pausing_) {
        blank();
    } else if (engine_.CardDone()) {
        drawCard(parts_.pages, engine_.Line1(), engine_.Line2(), settings.Font());
    } else if (engine_.TypePos() > 1) {
        // The character that ends just before TypePos, a double-byte one whole.
        const QByteArray joined = engine_.Line1() + engine_.Line2();
        const qsizetype typed = engine_.TypePos() - 1;
        qsizetype last = 0;
        for (qsizetype at = 0; at < typed; at += sjis::charLengthAt(joined, at))
            last = at;
        drawCharacter(parts_.pages, joined.mid(last, typed - last), settings.Magnify(),
                      settings.Font());
    } else {
        blank(); // the start wait
    }
}

} // namespace quillon
