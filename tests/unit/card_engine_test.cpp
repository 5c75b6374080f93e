// Cards played off the screen: each engine with its own virtual clock, pages and sound.
#include "support/pages.h"
#include "support/virtual_card.h"

#include <gtest/gtest.h>

namespace quillon::testing {
namespace {

TEST(CardEngine, TwoCardsAtOnceWithTheirOwnClocksPlayAlike) {
    // The same time of day seeds both; their millisecond clocks are far apart.
    VirtualCard a(4242, 1000), b(4242, 0xFFFFF000u);
    a.settings.wait = b.settings.wait = 40;
    for (VirtualCard* card : {&a, &b})
        card->play(sj(QStringLiteral("一二三四五")), sj(QStringLiteral("六七")));
    int steps = 0;
    for (;; ++steps) {
        // Interleaved: a tick of one card must not move the other.
        const int flipsOfB = b.ownPages.flips();
        const int64_t pauseA = a.step();
        EXPECT_EQ(b.ownPages.flips(), flipsOfB);
        const int64_t pauseB = b.step();
        ASSERT_EQ(pauseA, pauseB) << "step " << steps;
        if (pauseA < 0)
            break;
        ASSERT_EQ(a.ownPages.frontPage(), b.ownPages.frontPage()) << "step " << steps;
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
    VirtualCard card(1);
    card.settings.silent = true;
    card.play(QByteArray("AB"), QByteArray());
    card.playToEnd();
    EXPECT_TRUE(card.cues.played.isEmpty());
    EXPECT_EQ(card.holdsEnded, 1);

    card.settings.silent = false;
    card.play(sj(QStringLiteral("獣王")), QByteArray());
    card.playToEnd();
    ASSERT_EQ(card.cues.played.size(), 3); // two animal calls, then the closing cue
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(QStringList({"Lion", "Elephant", "Condle"}).contains(card.cues.played[i]));
    EXPECT_EQ(card.cues.played[2], QStringLiteral("GotIt"));
}

TEST(CardEngine, BlankingEndsTheCardAndShowsABlackPage) {
    VirtualCard card(1);
    card.play(QByteArray("ABC"), QByteArray());
    card.step();
    card.step();
    EXPECT_GT(litPixels(card.ownPages.frontPage()), 0); // a character is up
    card.engine.blank();
    EXPECT_FALSE(card.timer.Enabled());
    EXPECT_EQ(card.step(), -1);
    EXPECT_EQ(litPixels(card.ownPages.frontPage()), 0);
}

} // namespace
} // namespace quillon::testing
