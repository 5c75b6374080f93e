// The real card as the export plays it: on its virtual clock each cue starts on the
// cadence's millisecond, each character is in the frames from its tick on, and a
// character with no pause still gets a frame of its own.
#include "app/export/card_source.h"
#include "app/export/export_options.h"
#include "platform/media/repeated_frames.h"
#include "platform/text/sjis.h"
#include "settings/settings_store.h"
#include "support/pages.h"

#include <gtest/gtest.h>
#include <vector>

namespace quillon::testing {
namespace {

struct Played {
    std::vector<QImage> frames;
    std::vector<CueStart> cues;
};

Played play(ExportSource& source) {
    Played p;
    while (!source.atEnd()) {
        p.frames.push_back(source.nextFrame());
        for (const CueStart& cue : source.takeCues())
            p.cues.push_back(cue);
    }
    return p;
}

ExportOptions options(const QString& line1, const QString& line2) {
    ExportOptions o;
    o.format = ExportFormat::Mp4;
    o.size = QSize(320, 240);
    o.fps = 50; // a frame every 20 ms
    o.seed = 4242;
    o.line1 = sjis::fromUnicode(line1);
    o.line2 = sjis::fromUnicode(line2);
    return o;
}

TEST(CardExport, CuesStartOnTheCadenceAndEachCharacterIsInItsFrames) {
    Settings settings; // StartWait 1500, Wait 120
    auto source =
        makeCardExportSource(options(QStringLiteral("一二三"), QStringLiteral("四五")), settings);
    const Played p = play(*source);

    // The card's reseed reads the seed; 4242 gives 220 after the second character.
    const std::vector<int> ticks = {1500, 1720, 1940, 2350, 2470};
    const int card = 2880;
    ASSERT_EQ(p.cues.size(), 6u);
    for (size_t i = 0; i < ticks.size(); ++i) {
        EXPECT_EQ(p.cues[i].name, QStringLiteral("Type"));
        EXPECT_EQ(p.cues[i].sample, int64_t(ticks[i]) * 48) << "character " << i;
    }
    EXPECT_EQ(p.cues[5].name, QStringLiteral("Theme"));
    EXPECT_EQ(p.cues[5].sample, int64_t(card) * 48);

    // The start wait is black; each character is up from the first frame at or after
    // its tick; the video ends with the whole hold.
    const auto frameAt = [](int ms) { return (ms + 19) / 20; };
    for (int f = 0; f < frameAt(1500); ++f)
        ASSERT_EQ(litPixels(p.frames[size_t(f)]), 0) << "frame " << f;
    for (size_t i = 0; i < ticks.size(); ++i) {
        const QImage& first = p.frames[size_t(frameAt(ticks[i]))];
        EXPECT_GT(litPixels(first), 0) << "character " << i;
        EXPECT_NE(first, p.frames[size_t(frameAt(ticks[i]) - 1)]) << "character " << i;
    }
    EXPECT_EQ(int64_t(p.frames.size()), frameAt(card + 7000));
    EXPECT_EQ(p.frames.back(), p.frames[size_t(frameAt(card))]); // the card, held
    EXPECT_EQ(p.frames.back().size(), QSize(320, 240));
}

TEST(CardExport, ACharacterWithoutAPauseStillHasAFrameAndSilenceHasNoCues) {
    Settings settings;
    settings.wait = 0;
    settings.silent = true;
    auto source =
        makeCardExportSource(options(QStringLiteral("A"), QStringLiteral("BC")), settings);
    const Played p = play(*source);
    EXPECT_TRUE(p.cues.empty());
    // A, B (no pause after a line end) and C each in frames of their own.
    std::vector<QImage> distinct;
    for (const QImage& f : p.frames)
        if (litPixels(f) > 0 && (distinct.empty() || distinct.back() != f))
            distinct.push_back(f);
    ASSERT_GE(distinct.size(), 4u); // A, B, C and the card
    EXPECT_NE(distinct[0], distinct[1]);
    EXPECT_NE(distinct[1], distinct[2]);
}

// What goes to the encoder: only frames that differ from the one before, one at least
// every second, and the last; each shown until the next, they replay every frame of the
// card, so no page is lost and each starts on its own frame.
TEST(CardExport, OnlyChangedFramesAreSentAndTheyReplayTheWholeCard) {
    Settings settings;
    settings.wait = 0; // B follows the end of line 1 without any pause
    auto source =
        makeCardExportSource(options(QStringLiteral("A"), QStringLiteral("BC")), settings);
    const Played p = play(*source);
    const int64_t fps = 50;
    RepeatedFrames repeats(fps);
    std::vector<int64_t> sent;
    for (size_t i = 0; i < p.frames.size(); ++i)
        if (repeats.needed(p.frames[i], int64_t(i)))
            sent.push_back(int64_t(i));
    ASSERT_TRUE(repeats.lastUnsent());
    repeats.sentLast();
    sent.push_back(repeats.lastIndex());
    EXPECT_EQ(repeats.sent(), int64_t(sent.size()));
    EXPECT_LT(sent.size() * 4, p.frames.size()); // a card is mostly repeats
    EXPECT_EQ(sent.back(), int64_t(p.frames.size()) - 1);
    size_t at = 0;
    int lettersSeen = 0;
    for (size_t i = 0; i < p.frames.size(); ++i) {
        if (at + 1 < sent.size() && sent[at + 1] == int64_t(i)) {
            EXPECT_LE(sent[at + 1] - sent[at], fps) << "a gap of over a second at " << i;
            ++at;
            if (litPixels(p.frames[i]) > 0 && p.frames[i] != p.frames[i - 1])
                ++lettersSeen;
        }
        ASSERT_EQ(p.frames[size_t(sent[at])], p.frames[i]) << "frame " << i << " is lost";
    }
    EXPECT_EQ(lettersSeen, 4); // A, B, C and the card, each from its own frame
}

// The file's look: a page's coverage becomes the alpha (transparent outside the glyphs,
// opaque white inside, partial on the edges), or the text colour laid over a background
// colour or picture; the same page gives the same picture.
TEST(CardExport, TheLookLaysEachPixelsCoverageInTheTextColour) {
    Settings settings;
    ExportOptions o = options(QStringLiteral("怪人"), QStringLiteral("現る"));
    const QImage plain = makeCardExportSource(o, settings)->finishedCard();

    o.style.transparent = true;
    const QImage clear = makeCardExportSource(o, settings)->finishedCard();
    ASSERT_TRUE(clear.hasAlphaChannel());
    int opaque = 0, partial = 0;
    for (int y = 0; y < clear.height(); ++y)
        for (int x = 0; x < clear.width(); ++x) {
            const QRgb p = clear.pixel(x, y);
            const QRgb under = plain.pixel(x, y);
            const int cover = std::max({qRed(under), qGreen(under), qBlue(under)});
            ASSERT_EQ(qAlpha(p), cover) << x << "," << y;
            if (cover > 0) {
                ASSERT_EQ(p & 0xffffff, 0xffffffu) << "not white at " << x << "," << y;
            }
            opaque += cover == 255;
            partial += cover > 0 && cover < 255;
        }
    EXPECT_EQ(qAlpha(clear.pixel(0, 0)), 0);
    EXPECT_GT(opaque, 200);
    EXPECT_GT(partial, 50); // soft edges

    o.style = PageStyle{};
    o.style.text = qRgb(255, 200, 0);
    o.style.background = qRgb(0, 0, 128);
    const QImage coloured = makeCardExportSource(o, settings)->finishedCard();
    EXPECT_EQ(coloured.pixel(0, 0), qRgb(0, 0, 128));
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (plain.pixel(x, y) == qRgb(255, 255, 255)) {
                ASSERT_EQ(coloured.pixel(x, y), qRgb(255, 200, 0));
            }

    // A picture wider than the frame covers it, centred: its middle third shows.
    QImage picture(960, 240, QImage::Format_RGB32);
    picture.fill(qRgb(200, 0, 0));
    for (int y = 0; y < 240; ++y)
        for (int x = 320; x < 640; ++x)
            picture.setPixel(x, y, qRgb(0, 200, 0));
    o.style = PageStyle{};
    o.style.picture = picture;
    auto source = makeCardExportSource(o, settings);
    const QImage first = source->nextFrame(); // the start wait: the picture alone
    EXPECT_EQ(first.pixel(2, 2), qRgb(0, 200, 0));
    EXPECT_EQ(first.pixel(317, 237), qRgb(0, 200, 0));
    EXPECT_EQ(source->nextFrame().cacheKey(), first.cacheKey());
}

TEST(CardExport, TheFinishedCardIsThePictureOfTheHold) {
    Settings settings;
    auto video =
        makeCardExportSource(options(QStringLiteral("怪人"), QStringLiteral("現る")), settings);
    const Played p = play(*video);
    auto still =
        makeCardExportSource(options(QStringLiteral("怪人"), QStringLiteral("現る")), settings);
    EXPECT_EQ(still->finishedCard(), p.frames.back());
}

} // namespace
} // namespace quillon::testing
