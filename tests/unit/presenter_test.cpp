// Flipped pages reach the screen one refresh each, in order, and what waits for a page
// to be seen (a character's cue and the pause after it, the hold after the card) starts
// when it is.
#include "platform/core/services.h"
#include "platform/display/dxdraw.h"
#include "platform/display/offscreen_pages.h"
#include "platform/display/refresh_clock.h"
#include "platform/display/surface.h"
#include "presentation/disp_form.h"
#include "support/pages.h"
#include "support/test_environment.h"
#include "support/virtual_card.h"

#include <QTest>
#include <QWindow>
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

    // Where a page reaches the screen a refresh after it is put up (a compositor's), what
    // waits for it runs at that next refresh, and so does what asks to wait meanwhile.
    refresh.late = true;
    pages.Flip();
    pages.whenShown([&] { order.push_back(4); });
    ASSERT_TRUE(refresh.refresh());
    pages.whenShown([&] { order.push_back(5); });
    EXPECT_EQ(order.back(), 3);
    ASSERT_TRUE(refresh.refresh());
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_FALSE(pages.presenter().waiting());
}

// A window that is not exposed, or whose compositor stops answering, never holds the
// pages: the screen's rate answers instead, and the window paces them again once it
// answers.
TEST(presenter, AWindowThatDoesNotAnswerNeverHoldsThePages) {
    QWindow window;
    auto* clock = new WindowRefreshClock(&window, 60.0); // the window's
    int refreshes = 0;
    clock->onRefresh = [&] { ++refreshes; };
    const auto answered = [&] {
        const int before = refreshes;
        clock->requestRefresh();
        return QTest::qWaitFor([&] { return refreshes > before; }, 500);
    };

    EXPECT_TRUE(answered()); // never shown
    EXPECT_FALSE(clock->showsAtNextRefresh());

    window.resize(64, 64);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(answered());
    EXPECT_TRUE(clock->followsWindow());
    EXPECT_TRUE(clock->showsAtNextRefresh());

    struct Silence : QObject {
        bool eventFilter(QObject*, QEvent* event) override {
            return event->type() == QEvent::UpdateRequest;
        }
    } silence;
    window.installEventFilter(&silence); // runs before the clock's
    EXPECT_TRUE(answered());
    EXPECT_TRUE(answered());
    EXPECT_FALSE(clock->followsWindow());
    EXPECT_FALSE(clock->showsAtNextRefresh());

    window.removeEventFilter(&silence);
    EXPECT_TRUE(answered());
    EXPECT_TRUE(QTest::qWaitFor([&] { return answered() && clock->followsWindow(); }, 1000));
}

// A card whose pages go up only when a refresh comes.
struct PacedCard : VirtualCard {
    PacedCard() : VirtualCard(77, 0, /*paced=*/true) { settings.startWait = 500; }
};

// On a slow display (a refresh every 40 ms on a grid) each character's pages get a
// refresh each; no tick can come while they wait; the cue plays when the character is up
// and the pause before the next tick counts from then, so a step lasts its pause plus the
// refreshes. The hold counts from the card.
TEST(presenter, EachPauseCountsFromTheMomentItsCharacterIsUp) {
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
        if (card.refresh.requested()) {
            ASSERT_FALSE(card.timer.Started()) << "a tick could come before its page is up";
            const uint32_t nextRefresh = (card.clock.nowMs() / period + 1) * period;
            card.clock.set(nextRefresh);
            const qsizetype before = card.cues.played.size();
            ASSERT_TRUE(card.refresh.refresh());
            ++shownPages;
            for (qsizetype i = before; i < card.cues.played.size(); ++i)
                cueTimes.push_back(nextRefresh);
        } else {
            card.clock.advance(card.timer.msUntilDue());
            card.timer.idleStep();
        }
    }

    // The time of day 77 seeds a first draw of 4 of 10: 100 + Wait after the second.
    const std::vector<uint32_t> pauses = {220, 220, 410, 120, 410};
    ASSERT_EQ(ticks.size(), 7u); // five characters, the card, the hold's end
    EXPECT_EQ(ticks[0], 1007u + 500u);
    EXPECT_EQ(shownPages, card.ownPages.flips()); // two pages a character, then the card
    EXPECT_EQ(shownPages, 11);
    ASSERT_EQ(card.cues.played.size(), 6);
    EXPECT_EQ(card.cues.played.back(), QStringLiteral("Theme"));
    ASSERT_EQ(cueTimes.size(), 6u);
    for (size_t i = 0; i < 5; ++i) {
        // The black page at the next refresh, the character at the one after.
        EXPECT_GT(cueTimes[i], ticks[i] + period) << "character " << i + 1;
        EXPECT_LE(cueTimes[i], ticks[i] + 2 * period) << "character " << i + 1;
        EXPECT_EQ(ticks[i + 1], cueTimes[i] + pauses[i]) << "character " << i + 1;
    }
    EXPECT_LE(cueTimes[5], ticks[5] + period); // the card is one page
    EXPECT_EQ(ticks[6] - cueTimes[5], 7000u);
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
