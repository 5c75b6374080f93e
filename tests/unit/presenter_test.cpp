// Flipped pages reach the screen one refresh each, in order, and what waits for a page
// to be seen (a character's cue, the hold after the card) starts when it is; the pause
// after a character counts from its tick.
#include "platform/core/services.h"
#include "platform/display/dxdraw.h"
#include "platform/display/surface.h"
#include "presentation/disp_form.h"
#include "support/pages.h"
#include "support/test_environment.h"
#include "support/virtual_card.h"

#include <QTest>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace quillon::testing {
namespace {

TEST(presenter, TwoFlipsInOneRefreshPeriodShowBothPagesInTurn) {
    ManualRefreshClock refresh;
    OffscreenPages pages(640, 480, 1.0, &refresh);
    std::vector<int> order;
    pages.BackSurface()->ColorFill(0xFFFF);
    pages.Flip(); // a white page
    pages.whenShown([&] { order.push_back(1); });
    pages.BackSurface()->ColorFill(0);
    pages.Flip(); // then a black one, before any refresh
    pages.whenShown([&] { order.push_back(2); });
    EXPECT_TRUE(pages.presenter().waiting()); // nothing waited for the display
    EXPECT_TRUE(pages.shown().page.isNull());

    ASSERT_TRUE(refresh.refresh());
    EXPECT_EQ(litPixels(pages.shown().page), 640 * 480);
    EXPECT_EQ(order, std::vector<int>{1});
    ASSERT_TRUE(refresh.refresh());
    EXPECT_EQ(litPixels(pages.shown().page), 0);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_FALSE(refresh.refresh()); // nothing more was asked for

    // With nothing waiting, what asks to wait goes on at once.
    pages.whenShown([&] { order.push_back(3); });
    EXPECT_EQ(order.back(), 3);
}

// A card whose pages go up only when a refresh comes.
struct PacedCard : VirtualCard {
    PacedCard() : VirtualCard(77, 0, /*paced=*/true) { settings.startWait = 500; }
};

TEST(presenter, TheCueWaitsForTheCharacterAndThePauseCountsFromTheTick) {
    PacedCard card;
    card.play(QByteArray("AB"), QByteArray());
    ASSERT_TRUE(advanceToNextTick(card.timer, card.clock)); // A is drawn and flipped
    EXPECT_TRUE(card.cues.played.isEmpty());
    // Rule 4: the first character gets 100 + Wait, counted from its tick.
    ASSERT_TRUE(card.timer.Enabled());
    EXPECT_EQ(card.timer.msUntilDue(), 220u);

    card.clock.advance(16); // the black page goes up a refresh later
    ASSERT_TRUE(card.refresh.refresh());
    EXPECT_TRUE(card.cues.played.isEmpty());

    card.clock.advance(16); // and the character one refresh after that
    ASSERT_TRUE(card.refresh.refresh());
    EXPECT_EQ(card.cues.played, QStringList{QStringLiteral("Type")});
    EXPECT_EQ(card.timer.msUntilDue(), 220u - 32u);
}

// On a slow display (a refresh every 40 ms on a grid) the ticks still come at the table's
// pauses; each page gets a refresh of its own, and each cue plays when its page is up.
TEST(presenter, TicksKeepTheCadenceWhateverTheRefreshesAdd) {
    PacedCard card;
    const uint32_t period = 40;
    std::vector<uint32_t> ticks;
    std::vector<uint32_t> cueTimes;
    card.onTick([&] {
        ticks.push_back(card.clock.nowMs());
        card.engine.DXTimerTimer();
    });
    card.clock.set(1007); // off the refresh grid
    card.play(sj(QStringLiteral("一二三")), sj(QStringLiteral("四五")));
    int shownPages = 0;
    for (int guard = 0; guard < 1000 && (card.timer.Started() || card.refresh.requested());
         ++guard) {
        const uint32_t now = card.clock.nowMs();
        const uint32_t nextRefresh = (now / period + 1) * period;
        const bool ticking = card.timer.Started();
        const uint32_t due = now + card.timer.msUntilDue();
        if (card.refresh.requested() && (!ticking || nextRefresh <= due)) {
            card.clock.set(nextRefresh);
            const qsizetype before = card.cues.played.size();
            ASSERT_TRUE(card.refresh.refresh());
            ++shownPages;
            for (qsizetype i = before; i < card.cues.played.size(); ++i)
                cueTimes.push_back(nextRefresh);
        } else {
            card.clock.set(due);
            card.timer.idleStep();
        }
    }

    // The time of day 77 seeds a first draw of 4 of 10: 100 + Wait after the second.
    const std::vector<uint32_t> pauses = {500, 220, 220, 410, 120, 410};
    ASSERT_EQ(ticks.size(), pauses.size() + 1); // the characters, the card, the hold's end
    uint32_t at = 1007;
    for (size_t i = 0; i < pauses.size(); ++i) {
        at += pauses[i];
        EXPECT_EQ(ticks[i], at) << "tick " << i + 1;
    }
    EXPECT_EQ(shownPages, card.ownPages.flips()); // two pages a character, then the card
    EXPECT_EQ(shownPages, 11);
    ASSERT_EQ(card.cues.played.size(), 6);
    EXPECT_EQ(card.cues.played.back(), QStringLiteral("Theme"));
    ASSERT_EQ(cueTimes.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_GT(cueTimes[i], ticks[i]);              // a character's cue once its page is up ...
        EXPECT_LE(cueTimes[i], ticks[i] + 2 * period); // ... two refreshes at most
    }
    EXPECT_EQ(ticks.back() - cueTimes.back(), 7000u); // the hold counts from the card
}

TEST(presenter, AFlipOnTheScreenNeverWaitsAndTheRefreshPutsItUp) {
    ddraw::Device device;
    TestEnvironment environment;
    ScopedServices services({.display = &device, .environment = &environment});
    FixedSettings settings;
    TDispForm form(settings);
    form.RunQuillon(QByteArray("A"), QByteArray());
    // The presentation form asks for the card's own mode.
    EXPECT_EQ(device.currentMode(), (ddraw::DisplayMode{640, 480, 16}));

    TDXDraw& draw = *form.DXDraw;
    draw.BackSurface()->ColorFill(0xFFFF);
    draw.Flip(); // returns at once: the page waits for the display's refresh
    EXPECT_TRUE(draw.presenter().waiting());
    bool shown = false;
    draw.whenShown([&] { shown = true; });
    EXPECT_FALSE(shown);
    // The event loop goes on meanwhile, and the refresh comes through it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown; }, 1000));
    EXPECT_EQ(litPixels(draw.presenter().shown().page), litPixels(*draw.PrimarySurface()->page()));
    form.FormClose();
}

} // namespace
} // namespace quillon::testing
