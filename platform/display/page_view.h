#pragma once
// A window that shows presented pages pixel for pixel: black, with the page centred and
// scaled down, its aspect kept, when the window is smaller than the page. At a refresh
// only what changed is painted again. It takes no focus and no input of its own when
// asked to, so it can sit inside another program's window.
#include "platform/display/page_painter.h"
#include "platform/display/page_presenter.h"
#include "platform/display/page_style.h"

#include <QRasterWindow>
#include <functional>

namespace quillon {

class PageView : public QRasterWindow {
public:
    explicit PageView(QWindow* parent = nullptr);

    // The frame the presenter put up.
    void showFrame(const PagePresenter::Frame& frame);
    // The view's size in device pixels.
    QSize pixelSize() const;
    // Input passes through to the window below, and the view never takes the focus.
    void setTransparentForInput();
    // The pages' look: the text's colour and the background (not transparency).
    void setStyle(const PageStyle& style);

    // The size in device pixels changed.
    std::function<void(QSize)> OnPixelSizeChanged;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect pageArea() const;

    PagePresenter::Frame frame_;
    ScreenDamage damage_;
    PageStyler styler_;
    QSize pixelSize_;
};

} // namespace quillon
