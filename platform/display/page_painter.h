#pragma once
// Putting a page on the screen: centred, pixel for pixel when it fits (its pixels were
// drawn at the screen's resolution), scaled down with its aspect kept when it does not,
// black around it. The painter works in device pixels.
#include <QImage>
#include <QRect>
#include <QRegion>

class QPainter;

namespace quillon {

// Where a page of the given size goes on a target of the given size.
QRect placePage(const QSize& page, const QSize& target);

// Paints the dirty part of a target that shows the page in area: black, but for the
// page's lit part (in the page's pixels).
void paintPage(QPainter& painter, const QRect& area, const QImage& page, const QRect& lit,
               const QRegion& dirty);

// A region in a window's logical pixels in device pixels, and back, covering at least
// the same pixels.
QRegion toDevicePixels(const QRegion& logical, qreal scale);
QRegion toLogicalPixels(const QRegion& device, qreal scale);

// The rectangle of the target that the page's lit part covers.
QRect litOnTarget(const QRect& area, const QSize& page, const QRect& lit);

// What of a target changes from one shown page to the next: where the page shown before
// was lit, and where the new one is.
class ScreenDamage {
public:
    QRegion next(const QRect& area, const QSize& page, const QRect& lit) {
        const QRect now = litOnTarget(area, page, lit);
        QRegion changed = QRegion(shown_) | now;
        shown_ = now;
        return changed;
    }

private:
    QRect shown_;
};

} // namespace quillon
