#include "platform/display/offscreen_pages.h"
#include "platform/display/text_stamps.h"
#include "platform/text/sjis.h"
#include "presentation/title_drawing.h"
#include "support/display_fixture.h"
#include "support/pages.h"

#include <QFontMetrics>
#include <QPainter>

namespace quillon::testing {
namespace {

class LayoutTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        initializeFullScreen();
    }
    const QImage& screen() { return *draw->PrimarySurface()->page(); }
    TDirectDrawSurfaceCanvas& canvas() { return *draw->BackSurface()->Canvas(); }
    int cellHeight() {
        const QFontMetrics m(canvas().Font());
        return m.ascent() + m.descent();
    }
    QByteArray sjis(const QString& s) { return sjis::fromUnicode(s); }
    DisplayFont font{QStringLiteral("ＭＳ 明朝"), 128};
};

TEST_F(LayoutTest, CharacterIsCentredInACellOfTheMagnifiedHeight) {
    device.clearCalls();
    drawCharacter(*draw, sjis(QStringLiteral("字")), 70, font);
    std::vector<QString> names;
    for (const auto& c : device.calls())
        names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<QString>{"Blt", "Flip", "Blt", "GetDC", "ReleaseDC", "Flip"}));

    EXPECT_EQ(cellHeight(), 336);
    const QRect b = litBoxInMode(screen());
    ASSERT_FALSE(b.isEmpty());
    EXPECT_GE(b.top(), 72);
    EXPECT_LE(b.bottom(), 72 + 336);
    EXPECT_NEAR((b.left() + b.right()) / 2.0, 320, 12);
    EXPECT_EQ(litPixels(*draw->BackSurface()->page()), 0); // the other page is black
}

TEST_F(LayoutTest, MagnifyHundredFillsTheHeight) {
    drawCharacter(*draw, sjis(QStringLiteral("国")), 100, font);
    EXPECT_EQ(cellHeight(), 480);
    const QRect b = litBoxInMode(screen());
    ASSERT_FALSE(b.isEmpty());
    EXPECT_GT(b.bottom() - b.top(), 300);
}

TEST_F(LayoutTest, ShortTwoLineCardIsCappedAndFlushedToBothSides) {
    drawCard(*draw, sjis(QStringLiteral("あ")), sjis(QStringLiteral("い")), font);
    EXPECT_EQ(canvas().fontHeight(), 160);
    EXPECT_EQ(cellHeight(), 160);
    // q = 22: line 1 in rows 66..225, line 2 in rows 248..407.
    const QRect line1 = litBoxInMode(screen(), 0, 240);
    const QRect line2 = litBoxInMode(screen(), 240);
    ASSERT_FALSE(line1.isEmpty());
    ASSERT_FALSE(line2.isEmpty());
    EXPECT_GE(line1.top(), 66);
    EXPECT_LE(line1.bottom(), 226);
    EXPECT_GE(line2.top(), 248);
    EXPECT_LE(line2.bottom(), 408);
    EXPECT_LT(line1.right(), 320);
    EXPECT_GT(line2.left(), 320);
    // One space of margin on the outer side of each line.
    const int space = canvas().textWidth(" ");
    EXPECT_NEAR(line1.left(), space, space / 2);
    EXPECT_NEAR(640 - line2.right(), space, space / 2);
}

TEST_F(LayoutTest, ShortSingleLineIsCentredBothWays) {
    drawCard(*draw, sjis(QStringLiteral("三文字")), QByteArray(), font);
    EXPECT_EQ(canvas().fontHeight(), 160);
    const QRect b = litBoxInMode(screen());
    ASSERT_FALSE(b.isEmpty());
    EXPECT_NEAR((b.left() + b.right()) / 2.0, 320, 8);
    EXPECT_GE(b.top(), 160);
    EXPECT_LE(b.bottom(), 320);
}

TEST_F(LayoutTest, LongSingleLineShrinksToSpanTheWidth) {
    const QByteArray line = sjis(QStringLiteral("とても長いサブタイトルの一行目です"));
    drawCard(*draw, line, QByteArray(), font);
    const int h = canvas().fontHeight();
    EXPECT_LT(h, 160);
    const int width = canvas().textWidth(" " + line + " ");
    EXPECT_LE(width, 640);
    EXPECT_GT(width, 600);
    const QRect b = litBoxInMode(screen());
    EXPECT_GE(b.top(), (480 - h) / 2);
    EXPECT_LE(b.bottom(), (480 - h) / 2 + h);
}

TEST_F(LayoutTest, BlankCardDrawsNothing) {
    drawCharacter(*draw, sjis(QStringLiteral("字")), 70, font);
    drawCard(*draw, QByteArray(), QByteArray(), font);
    EXPECT_EQ(litPixels(screen()), 0);
}

TEST_F(LayoutTest, LostSurfacesDrawNothingAndDoNotCrash) {
    device.loseSurfaces();
    device.restoreFails = true;
    drawCard(*draw, sjis(QStringLiteral("あ")), QByteArray(), font);
    EXPECT_FALSE(canvas().handleAllocated());
}

// A character drawn ahead is copied at its tick with exactly the pixels that drawing it
// then gives, at whole and fractional scales; a page that is not black under it, or a
// character drawn ahead elsewhere, is drawn as before.
TEST(CharacterDrawnAhead, GivesTheSamePixelsAsDrawingItAtItsTick) {
    const DisplayFont font{QStringLiteral("ＭＳ 明朝"), 128};
    for (const double scale : {1.0, 1.6, 2.25, 3.375}) {
        for (const QString& text :
             {QStringLiteral("鬱"), QStringLiteral("g"), QStringLiteral("の")}) {
            const QByteArray ch = sjis::fromUnicode(text);
            OffscreenPages direct(640, 480, scale), ahead(640, 480, scale);
            drawCharacter(direct, sjis::fromUnicode(QStringLiteral("前")), 70, font);
            drawCharacter(ahead, sjis::fromUnicode(QStringLiteral("前")), 70, font);
            prepareCharacter(ahead, ch, 70, font);
            drawCharacter(direct, ch, 70, font);
            drawCharacter(ahead, ch, 70, font);
            EXPECT_GT(litPixels(direct.frontPage()), 100) << scale;
            EXPECT_EQ(ahead.frontPage(), direct.frontPage()) << scale << " " << text.toStdString();
            EXPECT_EQ(ahead.shown().lit, direct.shown().lit);
        }
    }

    // The stamp itself: used on black only, and only where it was made.
    QFont big(QStringLiteral("ＭＳ 明朝"));
    big.setPixelSize(200);
    const TextPlacement placed{big, qRgb(255, 255, 255), 2.25, QPoint(100, 300),
                               QStringLiteral("字")};
    TextStamps stamps;
    stamps.prepare(placed);
    ASSERT_EQ(stamps.size(), 1);
    QImage page(1440, 1080, QImage::Format_RGB32);
    page.setDevicePixelRatio(2.25);
    page.fill(Qt::black);
    QImage drawn = page;
    {
        QPainter painter(&drawn);
        painter.setFont(big);
        painter.setPen(Qt::white);
        painter.drawText(placed.origin, placed.text);
    }
    const QImage before = page;
    EXPECT_FALSE(stamps.put(placed, page, QRect(300, 400, 10, 10))); // lit under it
    EXPECT_EQ(page, before);
    TextPlacement elsewhere = placed;
    elsewhere.origin += QPoint(1, 0);
    EXPECT_FALSE(stamps.put(elsewhere, page, QRect()));
    EXPECT_TRUE(stamps.put(placed, page, QRect()));
    EXPECT_EQ(page, drawn);
}

} // namespace
} // namespace quillon::testing
