// The catalogue's titles must all fit the item form: the card, the lists and the random
// choice rely on it (a second space would move text into line 2, a long line would
// overflow the card).
#include "platform/text/sjis.h"
#include "subtitles/catalogue.h"

#include <QFile>
#include <QSet>
#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>

using namespace quillon;

namespace {

QList<QByteArray> allTitles() {
    return catalogueTitles(1) + catalogueTitles(2) + catalogueTitles(3);
}

qsizetype twoLineCount(const QList<QByteArray>& titles) {
    qsizetype n = 0;
    for (const QByteArray& t : titles)
        n += t.contains(' ') ? 1 : 0;
    return n;
}

} // namespace

TEST(Catalogue, SeriesHoldTheirCountsOfTitles) {
    EXPECT_EQ(catalogueTitles(1).size(), 23);
    EXPECT_EQ(catalogueTitles(2).size(), 155);
    EXPECT_EQ(catalogueTitles(3).size(), 50);
    EXPECT_EQ(allTitles().size(), 228);
    EXPECT_EQ(twoLineCount(catalogueTitles(1)), 15);
    EXPECT_EQ(twoLineCount(catalogueTitles(2)), 129);
    EXPECT_EQ(twoLineCount(catalogueTitles(3)), 27);
    EXPECT_EQ(twoLineCount(allTitles()), 171);
    for (int series : {-1, 0, 4})
        EXPECT_TRUE(catalogueTitles(series).isEmpty()) << series;
}

TEST(Catalogue, EveryTitleHasTheItemForm) {
    for (const QByteArray& t : allTitles()) {
        const std::string shown = sjis::toUnicode(t).toStdString();
        SCOPED_TRACE(shown);
        EXPECT_GE(t.size(), 10);
        EXPECT_LE(t.size(), 35);
        // A control byte has no glyph.
        for (char c : t)
            EXPECT_GE(static_cast<unsigned char>(c), 0x20);
        EXPECT_FALSE(t.contains('?'));
        EXPECT_EQ(sjis::fromUnicode(sjis::toUnicode(t)), t);
        const QString text = sjis::toUnicode(t);
        EXPECT_FALSE(text.contains(QChar(0x3000)));
        // Full-width text only: half-width katakana would take one byte a character.
        EXPECT_FALSE(std::any_of(text.begin(), text.end(), [](QChar c) {
            return c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F;
        }));

        EXPECT_LE(t.count(' '), 1);
        EXPECT_FALSE(t.startsWith(' '));
        EXPECT_FALSE(t.endsWith(' '));
        for (const QByteArray& line : t.split(' ')) {
            EXPECT_FALSE(line.isEmpty());
            EXPECT_LE(line.size(), 22);
        }
    }
}

TEST(Catalogue, EveryTitleReadsBackAsItsSourceText) {
    // A character the encoder could not hold, or held under another code point, would
    // show on the card as something other than what the source says.
    for (int series = 1; series <= 3; ++series) {
        QFile file(QStringLiteral(":/catalogue/part%1.txt").arg(series));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QStringList source = QString::fromUtf8(file.readAll()).split(u'\n');
        source.removeAll(QString());
        const QList<QByteArray>& titles = catalogueTitles(series);
        ASSERT_EQ(titles.size(), source.size());
        for (qsizetype i = 0; i < titles.size(); ++i)
            EXPECT_EQ(sjis::toUnicode(titles[i]), source[i]) << series << ":" << i + 1;
    }
}

TEST(Catalogue, TitlesAreDistinctAndSomeCarryTheKeywordOrDigits) {
    const QList<QByteArray> titles = allTitles();
    QSet<QByteArray> seen;
    const QByteArray keyword("\x8F\x62\x89\xA4"); // 獣王
    int withKeyword = 0;
    int withDigitsOrParentheses = 0;
    for (const QByteArray& t : titles) {
        EXPECT_FALSE(seen.contains(t)) << sjis::toUnicode(t).toStdString();
        seen.insert(t);
        withKeyword += t.contains(keyword) ? 1 : 0;
        const bool marked = std::any_of(t.begin(), t.end(), [](char c) {
            return (c >= '0' && c <= '9') || c == '(' || c == ')';
        });
        withDigitsOrParentheses += marked ? 1 : 0;
    }
    EXPECT_GE(withKeyword, 2);
    EXPECT_LE(withKeyword, 3);
    EXPECT_GE(withDigitsOrParentheses, 1);
}
