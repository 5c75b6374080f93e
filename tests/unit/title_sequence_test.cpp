// The title card's cadence, hold and dismissal, with time driven by a manual clock.
#include "platform/core/services.h"
#include "platform/display/dxdraw.h"
#include "platform/timer/idle_slot.h"
#include "presentation/disp_form.h"
#include "support/test_environment.h"
#include "support/virtual_card.h"

#include <QTest>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

using namespace quillon;
using namespace quillon::testing;

namespace {

class TitleSequenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        clock.set(50000);
        clock.setTimeOfDay(4242);
        services.emplace(Services{.clock = &clock, .environment = &environment});
        form = new TDispForm(settings);
        form->DXDraw->setRefreshClock(&refresh);
        form->closeMainWindow = [this] { ++mainWindowCloses; };
        form->armAmbience = [this] { ++ambienceArmed; };
    }
    void TearDown() override {
        delete form;
        services.reset();
    }
    const CardEngine& card() { return form->card(); }

    // Lets the run go tick by tick: each entry is the pause the timer waited before a
    // tick. Checks on the way that no tick comes a millisecond early.
    std::vector<uint32_t> runTicks(int maxTicks) {
        std::vector<uint32_t> pauses;
        for (int i = 0; i < maxTicks && form->DXTimer->Started(); ++i) {
            const uint32_t pause = form->DXTimer->msUntilDue();
            const int32_t before = card().TypePos();
            const bool doneBefore = card().CardDone();
            if (pause > 0) {
                clock.advance(pause - 1);
                IdleSlot::instance().runIdle();
                EXPECT_EQ(card().TypePos(), before);
                EXPECT_EQ(card().CardDone(), doneBefore);
                clock.advance(1);
            }
            IdleSlot::instance().runIdle();
            // The display's refreshes put the flipped pages up; the pause starts then.
            while (refresh.refresh()) {
            }
            pauses.push_back(pause);
        }
        return pauses;
    }

    ManualClock clock;
    ManualRefreshClock refresh;
    TestEnvironment environment;
    std::optional<ScopedServices> services;
    FixedSettings settings;
    TDispForm* form = nullptr;
    int mainWindowCloses = 0;
    int ambienceArmed = 0;
};

// Three and two double-byte characters, StartWait 1500, Wait 120. The one random pause,
// after the second character, is 220 or 120: the time of day 4242 seeds a first draw of
// 1 of 10 (E 100), 26 one of 8 (E 0).
TEST_F(TitleSequenceTest, ExampleTimelinePauseByPause) {
    clock.setTimeOfDay(26);
    form->RunQuillon(sj(QStringLiteral("一二三")), sj(QStringLiteral("四五")));
    EXPECT_EQ(runTicks(7), (std::vector<uint32_t>{1500, 220, 120, 410, 120, 410, 7000}));

    clock.setTimeOfDay(4242);
    form->RunQuillon(sj(QStringLiteral("一二三")), sj(QStringLiteral("四五")));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(runTicks(7), (std::vector<uint32_t>{1500, 220, 220, 410, 120, 410, 7000}));
    EXPECT_TRUE(card().CardDone());
    EXPECT_EQ(card().TypePos(), 11);
    EXPECT_FALSE(form->DXTimer->Started()); // the hold is over and nothing more comes
    EXPECT_TRUE(form->isVisible());         // AutoClose off: the card waits for the user
}

TEST_F(TitleSequenceTest, LineEndRulesComeFirst) {
    // One character in line 1 ends that line (rule 1 before rule 4); the first character
    // of line 2 gets only Wait; with line 2 empty the last character gets 290 + Wait.
    form->RunQuillon(sj(QStringLiteral("一")), sj(QStringLiteral("二三")));
    EXPECT_EQ(runTicks(4), (std::vector<uint32_t>{1500, 410, 120, 410}));

    form->RunQuillon(sj(QStringLiteral("一")), QByteArray());
    EXPECT_EQ(runTicks(2), (std::vector<uint32_t>{1500, 410}));

    // The first character of line 2 that also ends the text gets 290 + Wait.
    form->RunQuillon(sj(QStringLiteral("一")), sj(QStringLiteral("二")));
    EXPECT_EQ(runTicks(3), (std::vector<uint32_t>{1500, 410, 410}));
}

TEST_F(TitleSequenceTest, SingleByteStartsGetTheFixedPauseTwice) {
    clock.setTimeOfDay(26); // the first random draw gives E 0
    form->RunQuillon(QByteArray("ABCD"), QByteArray());
    const auto pauses = runTicks(5);
    ASSERT_EQ(pauses.size(), 5u);
    EXPECT_EQ(pauses[1], 220u); // after A (card().TypePos() 2)
    EXPECT_EQ(pauses[2], 220u); // after B (card().TypePos() 3)
    EXPECT_EQ(pauses[3], 120u); // after C: random
    EXPECT_EQ(pauses[4], 410u);

    // A double-byte first character reaches TypePos 3; the second is already random.
    form->RunQuillon(sj(QStringLiteral("一二三")), QByteArray());
    const auto dbcs = runTicks(3);
    EXPECT_EQ(dbcs[1], 220u);
    EXPECT_EQ(dbcs[2], 120u);
}

TEST_F(TitleSequenceTest, TwoRunsInARowBehaveAlike) {
    form->RunQuillon(sj(QStringLiteral("一二")), sj(QStringLiteral("三")));
    const auto first = runTicks(5);
    form->RunQuillon(sj(QStringLiteral("一二")), sj(QStringLiteral("三")));
    EXPECT_EQ(card().TypePos(), 1);
    EXPECT_FALSE(card().CardDone());
    EXPECT_FALSE(card().LineEndPause());
    EXPECT_EQ(runTicks(5), first);
}

TEST_F(TitleSequenceTest, BeastModeGivesTheSlowCadenceToTheLastCharacter) {
    form->RunQuillon(sj(QStringLiteral("A獣王")), sj(QStringLiteral("B")));
    EXPECT_TRUE(card().BeastMode());
    EXPECT_EQ(runTicks(5), (std::vector<uint32_t>{1500, 820, 820, 820, 820}));

    // The keyword split across the line break does not count.
    form->RunQuillon(sj(QStringLiteral("A獣")), sj(QStringLiteral("王")));
    EXPECT_FALSE(card().BeastMode());
}

TEST_F(TitleSequenceTest, CreditsCardHoldsLonger) {
    form->RunQuillon(QByteArray("Quillon"), sj(QStringLiteral("獣王")));
    const auto pauses = runTicks(20);
    EXPECT_EQ(pauses.back(), 10000u);
    EXPECT_TRUE(card().BeastMode());

    form->RunQuillon(QByteArray("quillon"), QByteArray()); // the search is case-sensitive
    EXPECT_EQ(runTicks(20).back(), 7000u);
}

TEST_F(TitleSequenceTest, EmptyTextShowsTheBlankCardAtTheFirstTick) {
    form->RunQuillon(QByteArray(), QByteArray());
    EXPECT_EQ(runTicks(3), (std::vector<uint32_t>{1500, 7000}));
    EXPECT_TRUE(card().CardDone());
}

TEST_F(TitleSequenceTest, InputDismissesOnlyTheCompleteCard) {
    form->RunQuillon(QByteArray("AB"), QByteArray());
    runTicks(2);
    QTest::keyRelease(form, Qt::Key_A);
    form->DXDrawMouseMove();
    form->DXDrawMouseUp();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->DXTimer->Started());

    runTicks(1); // the card
    EXPECT_TRUE(card().CardDone());
    QTest::keyRelease(form, Qt::Key_Space);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->DXTimer->Started());
    EXPECT_EQ(ambienceArmed, 0); // not a beast card

    form->RunQuillon(QByteArray("AB"), QByteArray());
    runTicks(3);
    form->DXDrawMouseMove();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(TitleSequenceTest, EndOfHoldClosesWaitsOrEndsTheProgram) {
    settings.autoClose = true;
    form->RunQuillon(QByteArray("A"), QByteArray());
    runTicks(10);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(mainWindowCloses, 0);

    // Screen-saver mode ends the program whatever AutoClose says.
    environment.mode.kind = RunKind::ScreenSaver;
    settings.autoClose = false;
    form->RunQuillon(QByteArray("A"), QByteArray());
    runTicks(10);
    EXPECT_EQ(mainWindowCloses, 1);
}

TEST_F(TitleSequenceTest, BeastCardArmsTheAmbienceUnlessSilent) {
    form->RunQuillon(sj(QStringLiteral("獣王")), QByteArray());
    runTicks(10);
    form->FormKeyUp();
    EXPECT_EQ(ambienceArmed, 1);

    settings.silent = true;
    form->RunQuillon(sj(QStringLiteral("獣王")), QByteArray());
    runTicks(10);
    form->FormKeyUp();
    EXPECT_EQ(ambienceArmed, 1);
}

TEST_F(TitleSequenceTest, ZeroPauseComesAtTheNextIdleMoment) {
    settings.wait = 0;
    form->RunQuillon(sj(QStringLiteral("一")), sj(QStringLiteral("二三")));
    const auto pauses = runTicks(4);
    EXPECT_EQ(pauses[2], 0u); // first of line 2: E = 0 and Wait 0
}

} // namespace
