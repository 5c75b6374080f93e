// Flipped pages reach the screen one refresh each, in order, and what waits for a page
// to be seen (a character's cue, the pause after it) starts when it is.
#include "platform/core/clock.h"
#include "platform/core/random.h"
#include "platform/core/services.h"
#include "platform/display/dxdraw.h"
#include "platform/display/offscreen_pages.h"
#include "platform/display/refresh_clock.h"
#include "platform/display/surface.h"
#include "platform/timer/dxtimer.h"
#include "presentation/card_engine.h"
#include "presentation/disp_form.h"
#include "support/card_doubles.h"
#include "support/pages.h"
#include "support/test_environment.h"

#include <QTest>
#include <gtest/gtest.h>
#include <optional>

namespace quillon::testing {
namespace {

TEST(Presenter, TwoFlipsInOneRefreshPeriodShowBothPagesInTurn) {
    ManualRefreshClock refresh;
    OffscreenPages pages(640, 480, 1.0, &refresh);
    std::vector<int> order;
    pages.BackSurface()->ColorFill(0xFFFF);
    pages.Flip(); // a white page
    pages.WhenShown([&] { order.push_back(1); });
    pages.BackSurface()->ColorFill(0);
    pages.Flip(); // then a black one, before any refresh
    pages.WhenShown([&] { order.push_back(2); });
    EXPECT_TRUE(pages.Presenter().waiting()); // nothing waited for the display
    EXPECT_TRUE(pages.Shown().page.isNull());

    ASSERT_TRUE(refresh.refresh());
    EXPECT_EQ(litPixels(pages.Shown().page), 640 * 480);
    EXPECT_EQ(order, std::vector<int>{1});
    ASSERT_TRUE(refresh.refresh());
    EXPECT_EQ(litPixels(pages.Shown().page), 0);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_FALSE(refresh.refresh()); // nothing more was asked for

    // With nothing waiting, what asks to wait goes on at once.
    pages.WhenShown([&] { order.push_back(3); });
    EXPECT_EQ(order.back(), 3);
}

// A card whose pages go up only when a refresh comes.
struct PacedCard {
    PacedCard() {
        clock.setTimeOfDay(77);
        timer.setActiveOnly(false);
        timer.setEnabled(false);
        timer.Loaded();
        timer.OnTimer = [this](TCustomDXTimer*, int32_t) { engine.DXTimerTimer(); };
        settings.startWait = 500;
        settings.wait = 120;
    }
    ManualClock clock;
    ManualRefreshClock refresh;
    TCustomDXTimer timer{nullptr, clock, nullptr};
    Random random;
    OffscreenPages pages{640, 480, 1.0, &refresh};
    RecordingCues cues;
    FixedSettings settings;
    CardEngine engine{{timer, clock, random, pages, cues, settings}};
};

TEST(Presenter, TheCueAndThePauseStartWhenTheCharacterIsSeen) {
    PacedCard card;
    card.engine.Begin(QByteArray("AB"), QByteArray());
    card.engine.Start();
    ASSERT_TRUE(advanceToNextTick(card.timer, card.clock)); // A is drawn and flipped
    EXPECT_TRUE(card.cues.played.isEmpty());
    EXPECT_FALSE(card.timer.Enabled()); // the sequence waits for the screen

    card.clock.advance(16); // the black page goes up a refresh later
    ASSERT_TRUE(card.refresh.refresh());
    EXPECT_TRUE(card.cues.played.isEmpty());
    EXPECT_FALSE(card.timer.Enabled());

    card.clock.advance(16); // and the character one refresh after that
    ASSERT_TRUE(card.refresh.refresh());
    EXPECT_EQ(card.cues.played, QStringList{QStringLiteral("Type")});
    ASSERT_TRUE(card.timer.Enabled());
    // Rule 4: the first character gets 100 + Wait, counted from its appearance.
    EXPECT_EQ(card.timer.msUntilDue(), 220u);
}

TEST(Presenter, AFlipOnTheScreenNeverWaitsAndTheRefreshPutsItUp) {
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
    EXPECT_TRUE(draw.Presenter().waiting());
    bool shown = false;
    draw.WhenShown([&] { shown = true; });
    EXPECT_FALSE(shown);
    // The event loop goes on meanwhile, and the refresh comes through it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown; }, 1000));
    EXPECT_EQ(litPixels(draw.Presenter().shown().page), litPixels(*draw.PrimarySurface()->Page()));
    form.FormClose();
}

} // namespace
} // namespace quillon::testing
