#pragma once
// A card off the screen on a virtual clock: the clock and the frame timer it drives,
// off-screen pages (or pages the test brings), settings set by hand and the cues
// recorded. The engine, presenter and saver tests play their cards on it.
#include "platform/core/clock.h"
#include "platform/core/random.h"
#include "platform/display/offscreen_pages.h"
#include "platform/display/refresh_clock.h"
#include "platform/timer/dxtimer.h"
#include "presentation/card_engine.h"
#include "support/card_doubles.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace quillon::testing {

// Text as the card reads it: Shift-JIS bytes.
QByteArray sj(const QString& text);

class CardRig {
public:
    // Paced: a flipped page goes up only at a refresh of `refresh`, not at the flip.
    // `pages` replaces the rig's own.
    explicit CardRig(bool paced = false, FlipPages* pages = nullptr);
    CardRig(const CardRig&) = delete;
    CardRig& operator=(const CardRig&) = delete;

    // What a tick of the timer does.
    void onTick(std::function<void()> tick);
    // Lets the next tick come; the pause waited, or -1 when nothing more comes.
    int64_t step();

    ManualClock clock;
    ManualRefreshClock refresh;
    TCustomDXTimer timer{nullptr, clock, nullptr};
    Random random;
    OffscreenPages ownPages;
    FlipPages& pages;
    RecordingCues cues;
    FixedSettings settings;
};

// The card engine itself on the rig.
class VirtualCard : public CardRig {
public:
    // The time of day reseeds the generator at each card, so it fixes the random pauses.
    explicit VirtualCard(uint32_t timeOfDay, uint32_t startMs = 0, bool paced = false);

    // Begins the card and arms its start wait.
    void play(const QByteArray& line1, const QByteArray& line2);
    // Steps until nothing more comes; the pauses waited.
    std::vector<int64_t> playToEnd();

    CardEngine engine{{timer, clock, random, pages, cues, settings}};
    int holdsEnded = 0;
};

} // namespace quillon::testing
