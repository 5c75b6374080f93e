// Frames for the encoder: studio-range BT.709 levels, planes laid out for odd sides too,
// and a page shown for many frames converted once.
#include "platform/media/yuv_frames.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

QImage filled(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Y, Cb and Cr of the first pixel.
std::array<int, 3> firstSample(const QByteArray& bytes, QSize size) {
    const qsizetype luma = qsizetype(size.width()) * size.height();
    const qsizetype chroma = qsizetype((size.width() + 1) / 2) * ((size.height() + 1) / 2);
    return {uint8_t(bytes[0]), uint8_t(bytes[luma]), uint8_t(bytes[luma + chroma])};
}

TEST(Yuv420FramesTest, LevelsAreStudioRangeBt709) {
    Yuv420Frames frames;
    const QSize size(4, 2);
    const std::vector<std::pair<QColor, std::array<int, 3>>> cases = {
        {Qt::black, {16, 128, 128}},
        {Qt::white, {235, 128, 128}},
        {QColor(128, 128, 128), {126, 128, 128}},
        {Qt::red, {63, 102, 240}},
        {Qt::blue, {32, 240, 118}},
        {Qt::yellow, {219, 16, 138}},
    };
    for (const auto& [colour, expected] : cases)
        EXPECT_EQ(firstSample(frames.convert(filled(size, colour)), size), expected)
            << colour.name().toStdString();
}

TEST(Yuv420FramesTest, OddSidesRoundTheChromaPlanesUp) {
    Yuv420Frames frames;
    QImage image = filled(QSize(5, 3), Qt::black);
    image.setPixelColor(4, 2, Qt::white); // the corner alone in its chroma block
    const QByteArray& bytes = frames.convert(image);
    ASSERT_EQ(bytes.size(), 5 * 3 + 2 * (3 * 2));
    EXPECT_EQ(uint8_t(bytes[14]), 235); // last luma sample
    EXPECT_EQ(uint8_t(bytes[13]), 16);
    EXPECT_EQ(uint8_t(bytes[15 + 5]), 128); // last Cb: white and black alike
    EXPECT_EQ(Yuv420Frames::frameBytes(QSize(1920, 1080)), 1920 * 1080 * 3 / 2);
}

// Only the lit part of a row pair is converted; black around it, on either side of a lit
// block that starts on an odd column or ends at an odd width, comes out as black.
TEST(Yuv420FramesTest, LitPixelsAmidBlackConvertAsTheyWouldAlone) {
    Yuv420Frames frames;
    QImage image = filled(QSize(9, 4), Qt::black);
    image.setPixelColor(3, 1, Qt::red);   // chroma block (1, 0), entered on an odd column
    image.setPixelColor(8, 3, Qt::white); // the last column of an odd width
    const QByteArray& bytes = frames.convert(image);
    const int luma = 9 * 4, chroma = 5 * 2;
    ASSERT_EQ(bytes.size(), luma + 2 * chroma);
    for (int i = 0; i < luma; ++i)
        EXPECT_EQ(uint8_t(bytes[i]), i == 1 * 9 + 3 ? 63 : i == 3 * 9 + 8 ? 235 : 16) << i;
    // A quarter red in its block; white is grey to chroma.
    for (int i = 0; i < chroma; ++i) {
        EXPECT_EQ(uint8_t(bytes[luma + i]), i == 1 ? 122 : 128) << "Cb " << i;
        EXPECT_EQ(uint8_t(bytes[luma + chroma + i]), i == 1 ? 156 : 128) << "Cr " << i;
    }
}

TEST(Yuv420FramesTest, APageShownAgainIsNotConvertedAgain) {
    Yuv420Frames frames;
    const QImage page = filled(QSize(64, 32), Qt::black);
    frames.convert(page);
    frames.convert(page);                             // the same image
    frames.convert(filled(QSize(64, 32), Qt::black)); // equal pixels, another image
    EXPECT_EQ(frames.conversions(), 1);
    QImage changed = page;
    changed.setPixelColor(10, 10, Qt::white);
    EXPECT_EQ(uint8_t(frames.convert(changed)[10 * 64 + 10]), 235);
    EXPECT_EQ(frames.conversions(), 2);
    // A converted frame keeps its bytes while the next one is made.
    const QByteArray before = frames.convert(page);
    frames.convert(changed);
    EXPECT_EQ(uint8_t(before[10 * 64 + 10]), 16);
}

} // namespace
} // namespace quillon
