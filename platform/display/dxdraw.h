#pragma once
// The drawing component TDXDraw: a control that fills its form, brings the display device
// up in a window or in full screen, hands out the back page, and shows the front page.
#include "platform/display/directdraw.h"
#include "platform/display/display_modes.h"
#include "platform/display/dxdraw_drivers.h"
#include "platform/display/dxdraw_options.h"
#include "platform/display/flip_pages.h"
#include "platform/display/page_painter.h"
#include "platform/display/page_presenter.h"
#include "platform/display/refresh_clock.h"
#include "platform/display/surface.h"

#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

namespace quillon {

using TDXDrawEvent = std::function<void(TCustomDXDraw* sender)>;

class TCustomDXDraw : public QWidget, public FlipPages {
public:
    explicit TCustomDXDraw(QWidget* parent);
    ~TCustomDXDraw() override;

    TDXDrawOptions Options() const { return options_; }
    void setOptions(TDXDrawOptions options);
    TDXDrawOptions EffectiveOptions() const { return effective_; }
    bool AutoInitialize() const { return autoInitialize_; }
    void setAutoInitialize(bool value) { autoInitialize_ = value; }
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool value) { autoSize_ = value; }
    // The back surface's size while it exists, otherwise the stored values.
    int SurfaceWidth() const;
    int SurfaceHeight() const;
    void setSurfaceWidth(int value) { surfaceWidth_ = value; }
    void setSurfaceHeight(int value) { surfaceHeight_ = value; }
    TDXDrawDisplay& Display() { return display_; }

    void Initialize();
    void Finalize();
    bool initialized() const { return initialized_; }
    bool ReadyToDraw() override;
    void Flip() override;
    bool CheckSurfaces();
    void RestoreSurfaces();
    void FlipToGDISurface();

    // The display device the component brings up: the one in force when it was made.
    ddraw::Device& device() const { return *device_; }
    // What paces the full-screen pages; the screen's refresh rate unless one is given
    // (null: back to that).
    void setRefreshClock(RefreshClock* clock);
    // The page on the screen in full screen, and what waits to go up.
    const PagePresenter& presenter() const { return *presenter_; }
    TDirectDraw* directDraw() const { return ddraw_; }
    TDXDrawDriver* driver() const { return driver_.get(); }
    TDirectDrawSurface* PrimarySurface() const { return primary_; }
    TDirectDrawSurface* BackSurface() const override { return back_; }
    TDirectDrawClipper* clipper() const { return clipper_; }
    TDirectDrawPalette* directDrawPalette() const { return palette_; }
    TColorTable colorTable;
    TColorTable defColorTable;
    // The palette entries built from a colour table.
    TColorTable paletteEntries(const TColorTable& table) const;

    // The size the title layout measures: the display mode's size while initialised
    // full-screen, otherwise the control's own size.
    int Width() const override;
    int Height() const override;
    void whenShown(std::function<void()> then) override;
    void forgetWaiting() override;
    QWidget* parentForm() const { return form_; }

    TDXDrawEvent OnInitializing, OnInitialize, OnInitializeSurface;
    TDXDrawEvent OnFinalize, OnFinalizeSurface, OnRestoreSurface;
    // Input; a move fires only on a real change of the pointer's position.
    std::function<void(Qt::MouseButton)> OnMouseUp;
    std::function<void()> OnMouseMove;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class TDXDrawDriver;
    friend class TDXDrawDriverFlip;
    friend class TDXDrawDriverBlt;
    void recomputeEffectiveOptions();
    void hookParentForm();
    void setCooperativeLevel();
    void moveToUserScreen();
    void takeOverScreen();
    void showFrame(const PagePresenter::Frame& frame);
    // The area of the control, in device pixels, where the full-screen page goes.
    QRect pageArea(const QSize& page) const;
    double pageScaleForScreen() const;
    bool formIsActive() const;
    void fire(const TDXDrawEvent& event) {
        if (event)
            event(this);
    }

    ddraw::Device* device_;
    TDXDrawOptions options_ = DefaultDXDrawOptions;
    TDXDrawOptions effective_ = 0;
    bool autoInitialize_ = true;
    bool autoSize_ = true;
    int surfaceWidth_ = 640;
    int surfaceHeight_ = 480;
    TDXDrawDisplay display_;
    std::unique_ptr<TDXDrawDriver> driver_;
    TDirectDraw* ddraw_ = nullptr;
    TDirectDrawSurface* primary_ = nullptr;
    TDirectDrawSurface* back_ = nullptr;
    TDirectDrawClipper* clipper_ = nullptr;
    TDirectDrawPalette* palette_ = nullptr;
    QPointer<QWidget> form_;
    bool initialized_ = false;
    bool requested_ = false;
    bool updating_ = false;
    bool initializeFired_ = false;
    bool initializeSurfaceFired_ = false;
    QPoint lastPointer_;
    TimerRefreshClock ownRefresh_;
    RefreshClock* givenRefresh_ = nullptr;
    QPointer<WindowRefreshClock> windowRefresh_; // owned by the form's window
    RefreshClock* refreshClock();
    std::unique_ptr<PagePresenter> presenter_;
    ScreenDamage damage_;
};

class TDXDraw : public TCustomDXDraw {
public:
    explicit TDXDraw(QWidget* parent);
};

} // namespace quillon