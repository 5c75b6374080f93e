#include "platform/display/page_painter.h"

#include <QPainter>
#include <cmath>

namespace quillon {

QRect placePage(const QSize& page, const QSize& target) {
    // A page a pixel off the target's size (rounding of the scale) still goes 1:1.
    QSize size = page;
    if (page.width() > target.width() + 1 || page.height() > target.height() + 1)
        size = page.scaled(target, Qt::KeepAspectRatio);
    return QRect((target.width() - size.width()) / 2, (target.height() - size.height()) / 2,
                 size.width(), size.height());
}

namespace {
QRegion scaled(const QRegion& region, qreal factor) {
    QRegion out;
    for (const QRect& r : region)
        out |= QRectF(r.x() * factor, r.y() * factor, r.width() * factor, r.height() * factor)
                   .toAlignedRect();
    return out;
}
} // namespace

QRegion toDevicePixels(const QRegion& logical, qreal scale) {
    return scaled(logical, scale);
}

QRegion toLogicalPixels(const QRegion& device, qreal scale) {
    return scaled(device, 1 / scale);
}

QRect litOnTarget(const QRect& area, const QSize& page, const QRect& lit) {
    if (lit.isEmpty() || page.isEmpty())
        return {};
    if (area.size() == page)
        return lit.translated(area.topLeft());
    const double sx = double(area.width()) / page.width();
    const double sy = double(area.height()) / page.height();
    const QRectF r(area.x() + lit.x() * sx, area.y() + lit.y() * sy, lit.width() * sx,
                   lit.height() * sy);
    // The smoothing of a scaled copy reaches a pixel further.
    return r.toAlignedRect().adjusted(-1, -1, 1, 1);
}

void paintPage(QPainter& painter, const QRect& area, const QImage& page, const QRect& lit,
               const QRegion& dirty) {
    const QRect shown = page.isNull() ? QRect() : (lit & page.rect());
    const QRect litTarget = litOnTarget(area, page.size(), shown) & area;
    for (const QRect& r : dirty - litTarget)
        painter.fillRect(r, Qt::black);
    const QRect todo = litTarget & dirty.boundingRect();
    if (todo.isEmpty())
        return;
    if (area.size() == page.size()) {
        // The page's own pixels, whatever its device-pixel ratio says (a view, no copy).
        const QImage pixels(page.constBits(), page.width(), page.height(), page.bytesPerLine(),
                            page.format());
        painter.drawImage(todo, pixels, todo.translated(-area.topLeft()));
        return;
    }
    // A page that does not fit is scaled down; only its lit part, from a 32-bit copy,
    // which scales several times faster than the 16-bit page.
    const double sx = double(area.width()) / page.width();
    const double sy = double(area.height()) / page.height();
    const QRectF to(area.x() + shown.x() * sx, area.y() + shown.y() * sy, shown.width() * sx,
                    shown.height() * sy);
    painter.save();
    painter.setClipRect(todo);
    painter.fillRect(todo, Qt::black);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QImage part = page.copy(shown).convertToFormat(QImage::Format_RGB32);
    part.setDevicePixelRatio(1.0);
    painter.drawImage(to, part);
    painter.restore();
}

} // namespace quillon
