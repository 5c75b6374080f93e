#pragma once
// Reading display pages in tests: which pixels are lit (not black).
#include <QImage>
#include <QRect>
#include <algorithm>

namespace quillon::testing {

inline bool isLit(QRgb pixel) {
    return (pixel & 0x00FFFFFF) != 0;
}

// Pixels of a page that are not black.
inline int litPixels(const QImage& page) {
    int lit = 0;
    for (int y = 0; y < page.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        lit += static_cast<int>(std::count_if(line, line + page.width(), isLit));
    }
    return lit;
}

// The bounding box of the lit pixels within rows [fromY, toY); empty when none is lit.
inline QRect litBox(const QImage& page, int fromY = 0, int toY = INT32_MAX) {
    QRect box;
    for (int y = fromY; y < std::min(toY, page.height()); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x)
            if (isLit(line[x]))
                box |= QRect(x, y, 1, 1);
    }
    return box;
}

// The same, in the display mode's coordinates: a page's pixels are finer by its
// device-pixel ratio.
inline QRect litBoxInMode(const QImage& page, int fromY = 0, int toY = INT32_MAX) {
    const qreal scale = page.devicePixelRatio();
    const int from = int(fromY * scale);
    const int to = toY == INT32_MAX ? INT32_MAX : int(toY * scale);
    const QRect box = litBox(page, from, to);
    if (box.isEmpty())
        return box;
    return QRect(QPoint(int(box.left() / scale), int(box.top() / scale)),
                 QPoint(int(box.right() / scale), int(box.bottom() / scale)));
}

} // namespace quillon::testing
