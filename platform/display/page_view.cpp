#include "platform/display/page_view.h"

#include <QPaintEvent>
#include <QPainter>

namespace quillon {

PageView::PageView(QWindow* parent) : QRasterWindow(parent) {}

void PageView::setTransparentForInput() {
    setFlags(flags() | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
}

QSize PageView::pixelSize() const {
    return (QSizeF(size()) * devicePixelRatio()).toSize();
}

QRect PageView::pageArea() const {
    return PageArea(frame_.page.size(), pixelSize());
}

void PageView::showFrame(const PagePresenter::Frame& frame) {
    frame_ = frame;
    const QRegion changed = damage_.next(pageArea(), frame_.page.size(), frame_.lit);
    if (!changed.isEmpty())
        update(toLogicalPixels(changed, devicePixelRatio()));
}

void PageView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const qreal scale = devicePixelRatio();
    painter.scale(1 / scale, 1 / scale);
    PaintPage(painter, pageArea(), frame_.page, frame_.lit, toDevicePixels(event->region(), scale));
}

void PageView::resizeEvent(QResizeEvent* event) {
    QRasterWindow::resizeEvent(event);
    // Everything is painted anew; the damage counts from the page as it now lies.
    damage_ = {};
    damage_.next(pageArea(), frame_.page.size(), frame_.lit);
    update();
    const QSize pixels = pixelSize();
    if (pixels != pixelSize_) {
        pixelSize_ = pixels;
        if (OnPixelSizeChanged)
            OnPixelSizeChanged(pixels);
    }
}

} // namespace quillon
