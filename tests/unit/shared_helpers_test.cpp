// The random generator, Shift-JIS stepping and conversion, and the error box text.
#include "platform/core/clock.h"
#include "platform/core/error.h"
#include "platform/core/random.h"
#include "platform/core/services.h"
#include "platform/text/sjis.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(Random, MatchesTheLinearCongruentialSequence) {
    Random r;
    r.setSeed(12345);
    const uint32_t ranges[] = {10, 10, 10, 100, 1000, 3, 4, 2};
    const uint32_t expected[] = {3, 2, 0, 55, 633, 1, 1, 0};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(r.draw(ranges[i]), expected[i]) << "draw " << i;
    EXPECT_EQ(r.seed(), 340655249u);

    r.setSeed(0xFFFFFFFFu);
    EXPECT_EQ(r.draw(0xFFFFFFFFu), 4160191483u); // the full 64-bit product is used
    EXPECT_EQ(r.draw(0), 0u);
}

TEST(Random, ReseedsFromTheUtcTimeOfDay) {
    ManualClock clock;
    clock.setTimeOfDay(((13 * 60 + 5) * 60 + 7) * 1000 + 250);
    ScopedServices services({.clock = &clock});
    Random r;
    r.reseed();
    EXPECT_EQ(r.seed(), 47107250u);
}

TEST(ShiftJis, StepsWholeCharactersAndNeverPastTheEnd) {
    const QByteArray text("A\x8F\x62"
                          "B\xE0\x40",
                          6); // A, 獣-like pair, B, a pair with an 0xE0 lead
    EXPECT_EQ(sjis::charLengthAt(text, 0), 1);
    EXPECT_EQ(sjis::charLengthAt(text, 1), 2);
    EXPECT_EQ(sjis::charLengthAt(text, 2), 1); // a trail byte seen from the start is no lead
    EXPECT_EQ(sjis::charLengthAt(text, 3), 1);
    EXPECT_EQ(sjis::charLengthAt(text, 4), 2);
    EXPECT_EQ(sjis::charLengthAt(text, 6), 0);

    const QByteArray loneLead("AB\x8F", 3);
    EXPECT_EQ(sjis::charLengthAt(loneLead, 2),
              1); // a lead byte at the end is a character of its own
    // A trail byte in the lead range (0x8F 0x8F) must not make the next byte a trail.
    const QByteArray trailInLeadRange("\x8F\x8F"
                                      "A",
                                      3);
    EXPECT_EQ(sjis::charLengthAt(trailInLeadRange, 2), 1);
}

TEST(ShiftJis, ConvertsLikeCodePage932) {
    EXPECT_EQ(sjis::fromUnicode(QStringLiteral("獣王")), QByteArray("\x8F\x62\x89\xA4"));
    EXPECT_EQ(sjis::fromUnicode(QStringLiteral("～①")), QByteArray("\x81\x60\x87\x40"));
    EXPECT_EQ(sjis::toUnicode(QByteArray("\x8F\x62\x89\xA4")), QStringLiteral("獣王"));
    EXPECT_EQ(sjis::fromUnicode(QStringLiteral("ＭＳ 明朝")).size(), 9);
    EXPECT_TRUE(sjis::isRepresentable(QStringLiteral("(C) 2026 Quillon")));
    EXPECT_FALSE(sjis::isRepresentable(QStringLiteral("©")));
}

TEST(ErrorBox, AppendsAFullStopOnlyAfterCharactersSortingAfterIt) {
    EXPECT_EQ(errorBoxText(QStringLiteral("DDraw.dll を読み込めません")),
              QStringLiteral("DDraw.dll を読み込めません."));
    EXPECT_EQ(errorBoxText(QStringLiteral("done.")), QStringLiteral("done."));
    EXPECT_EQ(errorBoxText(QStringLiteral("what!")),
              QStringLiteral("what!")); // '!' sorts before '.'
    EXPECT_EQ(errorBoxText(QString()), QString());
    EXPECT_EQ(formatMessage(QStringLiteral("ディスプレイモードを変更できません (%dx%d %dbit)"),
                            {QStringLiteral("640"), QStringLiteral("480"), QStringLiteral("16")}),
              QStringLiteral("ディスプレイモードを変更できません (640x480 16bit)"));
}
