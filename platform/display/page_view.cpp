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
    return placePage(frame_.page.size(), pixelSize());
}

void PageView::showFrame(const PagePresenter::Frame& frame) {
    frame_ = frame;
    const QRegion changed = damage_.next(pageArea(), frame_.page.size(), frame_.lit);
    if (!changed.isEmpty())
        update(toLogicalPixels(changed, devicePixelRatio()));
}

void PageView::setStyle(const PageStyle& style) {
    PageStyle opaque = style;
    opaque.transparent = false;
    styler_ = PageStyler(opaque);
    update();
}

void PageView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const qreal scale = devicePixelRatio();
    painter.scale(1 / scale, 1 / scale);
    const QRegion dirty = toDevicePixels(event->region(), scale);
    if (styler_.style().plain()) {
        paintPage(painter, pageArea(), frame_.page, frame_.lit, dirty);
        return;
    }
    // In a style: what changed is painted white on black aside, then laid in the style.
    const QRect part = dirty.boundingRect() & QRect(QPoint(), pixelSize());
    if (part.isEmpty())
        return;
    QImage plain(part.size(), QImage::Format_RGB32);
    {
        QPainter aside(&plain);
        aside.translate(-part.topLeft());
        paintPage(aside, pageArea(), frame_.page, frame_.lit, QRegion(part));
    }
    painter.drawImage(part.topLeft(), styler_.apply(plain, pixelSize(), part.topLeft()));
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
