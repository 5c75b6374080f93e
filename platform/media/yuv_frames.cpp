#include "platform/media/yuv_frames.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace quillon {

namespace {

// BT.709 in studio range (Y' 16..235, Cb and Cr 16..240), in 1/256 steps; the chroma
// rows sum to zero so that grey stays grey.
inline uint8_t lumaOf(int r, int g, int b) {
    return uint8_t(((47 * r + 157 * g + 16 * b + 128) >> 8) + 16);
}
inline uint8_t blueOf(int r, int g, int b) {
    return uint8_t(((-26 * r - 86 * g + 112 * b + 128) >> 8) + 128);
}
inline uint8_t redOf(int r, int g, int b) {
    return uint8_t(((112 * r - 102 * g - 10 * b + 128) >> 8) + 128);
}

// The columns [first, end) of a row pair that hold anything but black, widened to whole
// 2 × 2 blocks; first == end when both rows are black.
std::pair<int, int> litSpan(const QRgb* top, const QRgb* bottom, int w) {
    const auto lit = [](QRgb p) { return (p & 0x00ffffffu) != 0; };
    int first = 0, last = w - 1;
    while (first < w && !lit(top[first]) && !lit(bottom[first]))
        ++first;
    if (first == w)
        return {0, 0};
    while (!lit(top[last]) && !lit(bottom[last]))
        --last;
    return {first & ~1, std::min(w, (last + 2) & ~1)};
}

bool samePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.format() != b.format() || a.bytesPerLine() != b.bytesPerLine())
        return false;
    return a.constBits() == b.constBits() ||
           std::memcmp(a.constBits(), b.constBits(), size_t(a.sizeInBytes())) == 0;
}

} // namespace

qsizetype Yuv420Frames::frameBytes(QSize size) {
    const qsizetype w = size.width(), h = size.height();
    const qsizetype cw = (w + 1) / 2, ch = (h + 1) / 2;
    return w * h + 2 * cw * ch;
}

const QByteArray& Yuv420Frames::convert(const QImage& source) {
    const QImage frame =
        source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
            ? source
            : source.convertToFormat(QImage::Format_RGB32);
    if (!bytes_.isEmpty() && frame.cacheKey() == last_.cacheKey())
        return bytes_;
    if (!bytes_.isEmpty() && samePixels(frame, last_)) {
        last_ = frame;
        return bytes_;
    }
    const int w = frame.width(), h = frame.height();
    const int cw = (w + 1) / 2, ch = (h + 1) / 2;
    // The previous array may still wait in a pipe; the one before it is reused once the
    // pipe is done with it, which spares the fresh pages of a new one.
    std::swap(bytes_, spare_);
    if (!bytes_.isDetached() || bytes_.size() != frameBytes(frame.size()))
        bytes_ = QByteArray(frameBytes(frame.size()), Qt::Uninitialized);
    auto* y = reinterpret_cast<uint8_t*>(bytes_.data());
    uint8_t* cb = y + qsizetype(w) * h;
    uint8_t* cr = cb + qsizetype(cw) * ch;
    for (int row = 0; row < h; row += 2) {
        const auto* top = reinterpret_cast<const QRgb*>(frame.constScanLine(row));
        const auto* bottom =
            reinterpret_cast<const QRgb*>(frame.constScanLine(row + 1 < h ? row + 1 : row));
        uint8_t* yTop = y + qsizetype(row) * w;
        uint8_t* yBottom = row + 1 < h ? yTop + w : nullptr;
        // A card is mostly black: that is filled, and only the rest converted.
        const auto [from, to] = litSpan(top, bottom, w);
        std::memset(yTop, 16, size_t(w));
        if (yBottom)
            std::memset(yBottom, 16, size_t(w));
        std::memset(cb + qsizetype(row / 2) * cw, 128, size_t(cw));
        std::memset(cr + qsizetype(row / 2) * cw, 128, size_t(cw));
        for (int col = from; col < to; col += 2) {
            const int next = col + 1 < w ? col + 1 : col;
            const QRgb p[4] = {top[col], top[next], bottom[col], bottom[next]};
            yTop[col] = lumaOf(qRed(p[0]), qGreen(p[0]), qBlue(p[0]));
            if (col + 1 < w)
                yTop[col + 1] = lumaOf(qRed(p[1]), qGreen(p[1]), qBlue(p[1]));
            if (yBottom) {
                yBottom[col] = lumaOf(qRed(p[2]), qGreen(p[2]), qBlue(p[2]));
                if (col + 1 < w)
                    yBottom[col + 1] = lumaOf(qRed(p[3]), qGreen(p[3]), qBlue(p[3]));
            }
            // Chroma of the 2 × 2 block's average colour.
            const int r = (qRed(p[0]) + qRed(p[1]) + qRed(p[2]) + qRed(p[3]) + 2) >> 2;
            const int g = (qGreen(p[0]) + qGreen(p[1]) + qGreen(p[2]) + qGreen(p[3]) + 2) >> 2;
            const int b = (qBlue(p[0]) + qBlue(p[1]) + qBlue(p[2]) + qBlue(p[3]) + 2) >> 2;
            const qsizetype at = qsizetype(row / 2) * cw + col / 2;
            cb[at] = blueOf(r, g, b);
            cr[at] = redOf(r, g, b);
        }
    }
    last_ = frame;
    ++conversions_;
    return bytes_;
}

} // namespace quillon
