// The pictures and cursors are generated files; these checks catch a picture that went
// missing from the resources or was regenerated with the wrong size or ground.
#include <QImage>
#include <gtest/gtest.h>

TEST(Pictures, ResourcesLoadWithTheirSizesAndGrounds) {
    const QImage icon(QStringLiteral(":/pictures/icon.png"));
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_LE(icon.colorCount(), 256);

    for (const char* name : {"dice", "eraser", "pencil"}) {
        SCOPED_TRACE(name);
        const QImage picture(QStringLiteral(":/pictures/%1.png").arg(QLatin1String(name)));
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.size(), QSize(16, 16));
        // The bottom-left colour becomes transparent, so it must be the ground only:
        // the corners share it and the drawing has pixels of other colours.
        const QRgb key = picture.pixel(0, 15);
        EXPECT_EQ(picture.pixel(15, 15), key);
        int drawn = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                drawn += picture.pixel(x, y) != key ? 1 : 0;
        EXPECT_GT(drawn, 40);
    }
}

TEST(Pictures, CursorsAreClearBesideTheBullet) {
    const QImage bullet =
        QImage(QStringLiteral(":/cursors/CURSOR_1.png")).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(bullet.size(), QSize(32, 32));
    // The hot spot (0, 5) is the bullet's tip: an opaque pixel, else a click there would
    // seem to fall beside the pointer.
    EXPECT_EQ(qAlpha(bullet.pixel(0, 5)), 255);
    EXPECT_EQ(qAlpha(bullet.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(bullet.pixel(31, 31)), 0);

    const QImage blank =
        QImage(QStringLiteral(":/cursors/CURSOR_2.png")).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(blank.size(), QSize(32, 32));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(qAlpha(blank.pixel(x, y)), 0) << x << "," << y;
}
