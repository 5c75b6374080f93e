#include "platform/display/page_painter.h"

#include <QPainter>
#include <algorithm>
#include <iterator>

namespace quillon {

namespace {

// The smallest rectangle holding every pixel of the page that is not black (0); empty
// for an all-black page. Cards are mostly black, so only this part needs scaling.
QRect litArea(const QImage& page) {
    const int width = page.width();
    const qsizetype rowBytes = static_cast<qsizetype>(width) * page.depth() / 8;
    int top = -1, bottom = -1, left = width, right = -1;
    for (int y = 0; y < page.height(); ++y) {
        const uchar* row = page.constScanLine(y);
        const uchar* first = std::find_if(row, row + rowBytes, [](uchar b) { return b != 0; });
        if (first == row + rowBytes)
            continue;
        const auto last =
            std::find_if(std::make_reverse_iterator(row + rowBytes),
                         std::make_reverse_iterator(first), [](uchar b) { return b != 0; });
        const int bytesPerPixel = page.depth() / 8;
        left = std::min<int>(left, static_cast<int>(first - row) / bytesPerPixel);
        right = std::max<int>(right, static_cast<int>(last.base() - 1 - row) / bytesPerPixel);
        if (top < 0)
            top = y;
        bottom = y;
    }
    return top < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

void PaintPage(QPainter& painter, const QRect& target, const QImage& page) {
    painter.fillRect(target, Qt::black);
    if (page.isNull() || target.isEmpty())
        return;
    const QSize fitted = page.size().scaled(target.size(), Qt::KeepAspectRatio);
    const QRect area(target.x() + (target.width() - fitted.width()) / 2,
                     target.y() + (target.height() - fitted.height()) / 2, fitted.width(),
                     fitted.height());
    // Everything but the lit part of the page is black already; a margin of a few
    // pixels keeps the smoothing at the edges of the lit part exact.
    const QRect lit = litArea(page).adjusted(-2, -2, 2, 2).intersected(page.rect());
    if (lit.isEmpty())
        return;
    const double sx = double(area.width()) / page.width();
    const double sy = double(area.height()) / page.height();
    const QRectF to(area.x() + lit.x() * sx, area.y() + lit.y() * sy, lit.width() * sx,
                    lit.height() * sy);
    // Scaling from a 32-bit copy is several times faster than from the 16-bit page.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(to, page.copy(lit).convertToFormat(QImage::Format_RGB32));
}
} // namespace quillon
