// The screen saver's cards on a virtual clock: card after card with the hold it was
// given and a black pause between them, never ending by itself; the same seed gives the
// same order; a card drawn again on pages of another size shows what it showed.
#include "app/saver/saver_loop.h"
#include "app/saver/saver_subtitles.h"
#include "platform/display/resizable_pages.h"
#include "platform/display/surface.h"
#include "settings/settings_store.h"
#include "support/pages.h"
#include "support/virtual_card.h"

#include <QSet>
#include <gtest/gtest.h>

namespace quillon::testing {
namespace {

// A saver loop with everything it runs against, off the screen.
struct SaverRig : CardRig {
    SaverRig(FlipPages& pages, const SaverSubtitles& subtitles, uint32_t seed,
             std::optional<uint32_t> holdMs)
        : CardRig(false, &pages), subtitles(subtitles),
          loop({timer, pages, cues, settings,
                [this](Random& random) {
                    begun.append(this->subtitles.next(random));
                    return begun.last();
                }},
               seed, holdMs) {
        settings.wait = 0;
        settings.startWait = 500;
        onTick([this] { loop.tick(); });
    }
    // Steps until the card is finished; the pauses waited.
    std::vector<int64_t> typeCard() {
        std::vector<int64_t> pauses;
        while (!loop.card().CardDone() && pauses.size() < 500)
            pauses.push_back(step());
        return pauses;
    }

    SaverSubtitles subtitles;
    QList<SubtitleLines> begun;
    SaverLoop loop;
};

SaverSubtitles titles(std::initializer_list<QString> items) {
    SaverSubtitles s;
    for (const QString& item : items)
        s.catalogue.append(sj(item));
    return s;
}

TEST(SaverLoop, CardAfterCardWithItsHoldAndABlackPauseNeverEnding) {
    OffscreenPages pages(640, 480);
    SaverRig rig(pages, titles({QStringLiteral("雨の 駅"), QStringLiteral("Quillon 登場")}), 7,
                 1000);
    rig.loop.start();
    for (int card = 1; card <= 40; ++card) {
        ASSERT_EQ(rig.loop.cardsBegun(), card);
        EXPECT_EQ(rig.step(), 500) << "the start wait of card " << card;
        const std::vector<int64_t> typing = rig.typeCard();
        ASSERT_TRUE(rig.loop.card().CardDone()) << card;
        EXPECT_EQ(rig.loop.card().Line1(), rig.begun.last().line1);
        EXPECT_EQ(rig.loop.card().Line2(), rig.begun.last().line2);
        EXPECT_GT(litPixels(pages.frontPage()), 0) << "the finished card " << card;
        // --linger counts for the credits card too.
        EXPECT_EQ(rig.step(), 1000) << "the hold of card " << card;
        EXPECT_TRUE(rig.loop.pausing());
        EXPECT_EQ(litPixels(pages.frontPage()), 0) << "black after card " << card;
        EXPECT_EQ(rig.step(), SaverLoop::PauseMs);
    }
    EXPECT_TRUE(rig.timer.running());
    // Both titles came up, and their cues were played in full.
    EXPECT_TRUE(
        rig.begun.contains(SubtitleLines{sj(QStringLiteral("雨の")), sj(QStringLiteral("駅"))}));
    EXPECT_TRUE(rig.begun.contains(SubtitleLines{"Quillon", sj(QStringLiteral("登場"))}));
    int credits = 0;
    for (qsizetype i = 0; i < 40; ++i)
        credits += rig.begun[i].line1 == "Quillon";
    EXPECT_EQ(rig.cues.played.count(QStringLiteral("Joke")), credits);
}

TEST(SaverLoop, WithoutLingerEachCardKeepsItsOwnHold) {
    OffscreenPages pages(640, 480);
    SaverRig rig(pages, titles({QStringLiteral("Quillon 登場")}), 1, std::nullopt);
    rig.loop.start();
    rig.step();
    rig.typeCard();
    EXPECT_EQ(rig.step(), 10000); // a credits card
}

TEST(SaverLoop, TheSameSeedGivesTheSameOrderAndCadence) {
    const SaverSubtitles catalogue = subtitlesFromSettings(Settings{});
    ASSERT_EQ(catalogue.catalogue.size(), 228);
    auto run = [&](uint32_t seed) {
        OffscreenPages pages(640, 480);
        SaverRig rig(pages, catalogue, seed, 500);
        rig.loop.start();
        std::vector<int64_t> pauses;
        while (rig.loop.cardsBegun() <= 12)
            pauses.push_back(rig.step());
        return std::make_pair(rig.begun, pauses);
    };
    const auto a = run(2024), b = run(2024), c = run(2025);
    EXPECT_EQ(a.first, b.first);
    EXPECT_EQ(a.second, b.second);
    EXPECT_NE(a.first, c.first);
    // Twelve random picks out of 228 titles are not all the same.
    EXPECT_GT(QSet<QByteArray>({a.first[0].line1, a.first[5].line1, a.first[11].line1}).size(), 1);
}

TEST(SaverLoop, PagesMadeAnewAtAnotherSizeShowWhatWasShown) {
    ResizablePages pages(640, 480, 1.0, nullptr, {});
    SaverRig rig(pages, titles({QStringLiteral("星の 記憶")}), 3, 1000);
    rig.loop.start();
    auto shownInMode = [&] { return litBoxInMode(pages.pages().frontPage()); };
    auto near = [](const QRect& a, const QRect& b) {
        return std::abs(a.left() - b.left()) <= 2 && std::abs(a.top() - b.top()) <= 2 &&
               std::abs(a.right() - b.right()) <= 2 && std::abs(a.bottom() - b.bottom()) <= 2;
    };
    // The start wait: black.
    ASSERT_TRUE(pages.rescale(1.5));
    rig.loop.redraw();
    EXPECT_EQ(litPixels(pages.pages().frontPage()), 0);

    rig.step();
    rig.step(); // "の", the second character, alone
    const QRect second = shownInMode();
    ASSERT_FALSE(second.isEmpty());
    ASSERT_TRUE(pages.rescale(2.0));
    EXPECT_EQ(litPixels(pages.pages().frontPage()), 0); // made anew: black until drawn
    rig.loop.redraw();
    EXPECT_EQ(pages.pages().frontPage().size(), QSize(1280, 960));
    EXPECT_TRUE(near(shownInMode(), second)) << "the same character in the same place";

    // The card goes on on the new pages, and the finished card is drawn again too.
    rig.typeCard();
    const QRect card = shownInMode();
    ASSERT_TRUE(pages.rescale(1.25));
    rig.loop.redraw();
    EXPECT_TRUE(near(shownInMode(), card));

    rig.step(); // the hold ends: black, and black again at another size
    ASSERT_TRUE(pages.rescale(1.0));
    rig.loop.redraw();
    EXPECT_EQ(litPixels(pages.pages().frontPage()), 0);
    rig.step();
    EXPECT_EQ(rig.loop.cardsBegun(), 2);
}

TEST(ResizablePagesTest, NotMadeAnewWhileAPageWaitsToGoUp) {
    ManualRefreshClock refresh;
    int shown = 0;
    ResizablePages pages(640, 480, 1.0, &refresh, [&](const PagePresenter::Frame&) { ++shown; });
    pages.BackSurface()->ColorFill(0);
    pages.Flip();
    bool ran = false;
    pages.whenShown([&] { ran = true; });
    EXPECT_FALSE(pages.rescale(2.0)); // what waits would be lost
    EXPECT_EQ(pages.scale(), 1.0);
    refresh.refresh();
    EXPECT_TRUE(ran);
    ASSERT_TRUE(pages.rescale(2.0));
    // The new pages have the refresh clock.
    pages.Flip();
    EXPECT_TRUE(refresh.refresh());
    EXPECT_EQ(shown, 2);

    EXPECT_DOUBLE_EQ(ResizablePages::scaleToFit(640, 480, QSize(1920, 1080)), 2.25);
    EXPECT_DOUBLE_EQ(ResizablePages::scaleToFit(640, 480, QSize(160, 300)), 0.25);
    EXPECT_EQ(ResizablePages::scaleToFit(640, 480, QSize(0, 300)), 0);
}

} // namespace
} // namespace quillon::testing
