// Cards played off the screen: each engine with its own virtual clock, pages and sound.
#include "platform/core/clock.h"
#include "platform/core/random.h"
#include "platform/display/offscreen_pages.h"
#include "platform/text/sjis.h"
#include "platform/timer/dxtimer.h"
#include "presentation/card_engine.h"
#include "support/card_doubles.h"
#include "support/pages.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace quillon::testing {
namespace {

// One card with everything it runs against.
struct OffscreenCard {
    explicit OffscreenCard(uint32_t startMs, uint32_t timeOfDay) {
        clock.set(startMs);
        clock.setTimeOfDay(timeOfDay);
        timer.setActiveOnly(false);
        timer.setEnabled(false);
        timer.loaded();
        timer.OnTimer = [this](TCustomDXTimer*, int32_t) { engine.DXTimerTimer(); };
        engine.OnHoldEnd = [this] { ++holdsEnded; };
    }
    // Lets the next tick come; the pause waited, or -1 when nothing more comes.
    int64_t step() {
        const uint32_t before = clock.nowMs();
        if (!advanceToNextTick(timer, clock))
            return -1;
        return clock.nowMs() - before;
    }

    ManualClock clock;
    TCustomDXTimer timer{nullptr, clock, nullptr};
    Random random;
    OffscreenPages pages{640, 480};
    RecordingCues cues;
    FixedSettings settings;
    CardEngine engine{{timer, clock, random, pages, cues, settings}};
    int holdsEnded = 0;
};

QByteArray sj(const QString& text) {
    return sjis::fromUnicode(text);
}

TEST(CardEngine, TwoCardsAtOnceWithTheirOwnClocksPlayAlike) {
    // The same time of day seeds both; their millisecond clocks are far apart.
    OffscreenCard a(1000, 4242), b(0xFFFFF000u, 4242);
    a.settings.wait = b.settings.wait = 40;
    for (OffscreenCard* card : {&a, &b}) {
        card->engine.begin(sj(QStringLiteral("一二三四五")), sj(QStringLiteral("六七")));
        card->engine.start();
    }
    int steps = 0;
    for (;; ++steps) {
        // Interleaved: a tick of one card must not move the other.
        const int flipsOfB = b.pages.flips();
        const int64_t pauseA = a.step();
        EXPECT_EQ(b.pages.flips(), flipsOfB);
        const int64_t pauseB = b.step();
        ASSERT_EQ(pauseA, pauseB) << "step " << steps;
        if (pauseA < 0)
            break;
        ASSERT_EQ(a.pages.frontPage(), b.pages.frontPage()) << "step " << steps;
        ASSERT_EQ(a.cues.played, b.cues.played) << "step " << steps;
    }
    // Seven characters, the card, the end of the hold.
    EXPECT_EQ(steps, 9);
    EXPECT_EQ(a.cues.played.count(QStringLiteral("Type")), 7);
    EXPECT_EQ(a.cues.played.last(), QStringLiteral("Theme"));
    EXPECT_TRUE(a.engine.CardDone());
    EXPECT_EQ(a.holdsEnded, 1);
    EXPECT_EQ(b.holdsEnded, 1);
}

TEST(CardEngine, ASilentCardTypesWithoutCuesAndABeastCardCallsTheAnimals) {
    OffscreenCard card(0, 1);
    card.settings.silent = true;
    card.engine.begin(QByteArray("AB"), QByteArray());
    card.engine.start();
    while (card.step() >= 0) {
    }
    EXPECT_TRUE(card.cues.played.isEmpty());
    EXPECT_EQ(card.holdsEnded, 1);

    card.settings.silent = false;
    card.engine.begin(sj(QStringLiteral("獣王")), QByteArray());
    card.engine.start();
    while (card.step() >= 0) {
    }
    ASSERT_EQ(card.cues.played.size(), 3); // two animal calls, then the closing cue
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(QStringList({"Lion", "Elephant", "Condle"}).contains(card.cues.played[i]));
    EXPECT_EQ(card.cues.played[2], QStringLiteral("GotIt"));
}

TEST(CardEngine, BlankingEndsTheCardAndShowsABlackPage) {
    OffscreenCard card(0, 1);
    card.engine.begin(QByteArray("ABC"), QByteArray());
    card.engine.start();
    card.step();
    card.step();
    EXPECT_GT(litPixels(card.pages.frontPage()), 0); // a character is up
    card.engine.blank();
    EXPECT_FALSE(card.timer.Enabled());
    EXPECT_EQ(card.step(), -1);
    EXPECT_EQ(litPixels(card.pages.frontPage()), 0);
}

} // namespace
} // namespace quillon::testing
