// The drawing component: options, initialisation in a window or in full screen, the
// hooks on the parent form, and the widget that shows the front page.
#include "platform/display/dxdraw.h"

#include "platform/core/services.h"
#include "platform/display/page_painter.h"
#include "platform/display/resizable_pages.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <exception>

namespace quillon {

namespace {

// Clears a flag when the scope ends, however it ends.
class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& flag_;
};

} // namespace

TCustomDXDraw::TCustomDXDraw(QWidget* parent)
    : QWidget(parent), device_(&programDisplayDevice()), display_(*this), ownRefresh_(60.0) {
    setRefreshClock(nullptr);
    colorTable = systemPalette();
    defColorTable = colorTable;
    resize(100, 100);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    recomputeEffectiveOptions();
    hookParentForm();
    lastPointer_ = QCursor::pos();
}

TCustomDXDraw::~TCustomDXDraw() {
    if (form_)
        form_->removeEventFilter(this);
    Finalize();
}

void TCustomDXDraw::setOptions(TDXDrawOptions options) {
    options_ = options;
    recomputeEffectiveOptions();
}

void TCustomDXDraw::recomputeEffectiveOptions() {
    if (initialized_) {
        effective_ = static_cast<TDXDrawOptions>((effective_ & ~OptionsChangeableWhileInitialized) |
                                                 (options_ & OptionsChangeableWhileInitialized));
        if (!hasOption(effective_, do3D))
            effective_ =
                withoutOptions(effective_, {doRetainedMode, doHardware, doSelectDriver, doZBuffer});
        return;
    }
    TDXDrawOptions e = options_;
    if (!hasOption(e, doFullScreen))
        e = withoutOptions(e, {doNoWindowChange, doAllowReboot, doAllowPalette256, doFlip});
    if (!hasOption(e, do3D))
        e = withoutOptions(e,
                           {doDirectX7Mode, doRetainedMode, doHardware, doSelectDriver, doZBuffer});
    if (hasOption(e, doSystemMemory))
        e = withoutOptions(e, {doFlip});
    if (hasOption(e, doDirectX7Mode))
        e = withoutOptions(e, {doRetainedMode});
    effective_ = withoutOptions(e, {doHardware});
}

int TCustomDXDraw::SurfaceWidth() const {
    return back_ && back_->hasInterface() ? back_->Width() : surfaceWidth_;
}

int TCustomDXDraw::SurfaceHeight() const {
    return back_ && back_->hasInterface() ? back_->Height() : surfaceHeight_;
}

int TCustomDXDraw::Width() const {
    if (initialized_ && hasOption(effective_, doFullScreen))
        return display_.Width();
    return QWidget::width();
}

int TCustomDXDraw::Height() const {
    if (initialized_ && hasOption(effective_, doFullScreen))
        return display_.Height();
    return QWidget::height();
}

TColorTable TCustomDXDraw::paletteEntries(const TColorTable& table) const {
    TColorTable entries = table;
    for (auto& e : entries)
        e.flags = 0x40;
    if (!hasOption(options_, doAllowPalette256)) {
        const TColorTable& system = systemPalette();
        std::copy(system.begin(), system.begin() + 10, entries.begin());
        std::copy(system.end() - 10, system.end(), entries.end() - 10);
    }
    return entries;
}

void TCustomDXDraw::setCooperativeLevel() {
    uint32_t flags = ddraw::DDSCL_NORMAL;
    if (hasOption(effective_, doFullScreen)) {
        flags = ddraw::DDSCL_FULLSCREEN | ddraw::DDSCL_EXCLUSIVE | ddraw::DDSCL_ALLOWMODEX;
        if (hasOption(effective_, doNoWindowChange))
            flags |= ddraw::DDSCL_NOWINDOWCHANGES;
        if (hasOption(effective_, doAllowReboot))
            flags |= ddraw::DDSCL_ALLOWREBOOT;
    }
    const QWidget* window = form_ ? form_.data() : this;
    ddraw_->SetCooperativeLevel(window, flags);
}

void TCustomDXDraw::Initialize() {
    requested_ = true;
    Finalize();
    if (!form_)
        throw EDXDrawError(QCoreApplication::translate("Errors", "フォームが見つかりません"));
    try {
        fire(OnInitializing);
        updating_ = true;
        if (hasOption(effective_, doFlip))
            driver_ = std::make_unique<TDXDrawDriverFlip>(*this);
        else
            driver_ = std::make_unique<TDXDrawDriverBlt>(*this);
        setCooperativeLevel();
        if (hasOption(effective_, doFullScreen) &&
            !display_.ChangeMode(display_.Width(), display_.Height(), display_.BitCount())) {
            throw EDXDrawError(formatMessage(
                QCoreApplication::translate("Errors",
                                            "ディスプレイモードを変更できません (%dx%d %dbit)"),
                {QString::number(display_.Width()), QString::number(display_.Height()),
                 QString::number(display_.BitCount())}));
        }
        if (hasOption(effective_, doFullScreen))
            moveToUserScreen();
        // Full-screen pages are drawn as fine as the screen they fill.
        device_->pageScale = hasOption(effective_, doFullScreen) ? pageScaleForScreen() : 1.0;
        if (autoSize_) {
            surfaceWidth_ = QWidget::width();
            surfaceHeight_ = QWidget::height();
        }
        driver_->Initialize();
        updating_ = false;
        initialized_ = true;
    } catch (...) {
        Finalize();
        throw;
    }
    initializeFired_ = true;
    fire(OnInitialize);
    initializeSurfaceFired_ = true;
    fire(OnInitializeSurface);
    RestoreSurfaces();
    if (hasOption(effective_, doFullScreen)) {
        takeOverScreen();
        // The form's window exists now; it may pace the pages itself.
        setRefreshClock(givenRefresh_);
    }
}

void TCustomDXDraw::setRefreshClock(RefreshClock* clock) {
    givenRefresh_ = clock;
    presenter_.reset(); // lets go of its clock before another presenter takes it
    presenter_ = std::make_unique<PagePresenter>(
        refreshClock(), [this](const PagePresenter::Frame& frame) { showFrame(frame); });
}

// The display's own signal where the window system gives one, watched by its rate;
// otherwise its rate.
RefreshClock* TCustomDXDraw::refreshClock() {
    if (givenRefresh_)
        return givenRefresh_;
    const double hz = TimerRefreshClock::rateOf(screen());
    QWindow* window = form_ ? form_->windowHandle() : nullptr;
    if (window && WindowRefreshClock::available()) {
        if (!windowRefresh_ || windowRefresh_->parent() != window)
            windowRefresh_ = new WindowRefreshClock(window, hz);
        windowRefresh_->setRate(hz);
        return windowRefresh_;
    }
    ownRefresh_.setRate(hz);
    return &ownRefresh_;
}

double TCustomDXDraw::pageScaleForScreen() const {
    const QScreen* s = form_ ? form_->screen() : screen();
    if (!s)
        return 1.0;
    const QSize pixels = (QSizeF(s->geometry().size()) * s->devicePixelRatio()).toSize();
    const double fit = ResizablePages::scaleToFit(display_.Width(), display_.Height(), pixels);
    return fit > 0 ? fit : 1.0;
}

QRect TCustomDXDraw::pageArea(const QSize& page) const {
    return placePage(page, (QSizeF(size()) * devicePixelRatioF()).toSize());
}

// At a refresh: the part of the screen that changes is painted at once.
void TCustomDXDraw::showFrame(const PagePresenter::Frame& frame) {
    const QRegion changed = damage_.next(pageArea(frame.page.size()), frame.page.size(), frame.lit);
    if (changed.isEmpty() || !isVisible())
        return;
    repaint(toLogicalPixels(changed, devicePixelRatioF()));
}

// The card fills the output the user looks at: that of the program's window in front (the
// main window, or the dialog the card came from), else of another of its windows shown.
// Where the window system gives no active window (Wayland often does not), the main
// window is the one shown.
void TCustomDXDraw::moveToUserScreen() {
    QWidget* front = QApplication::activeWindow();
    if (!front || front == form_) {
        front = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window != form_ && window->isVisible() && !window->isMinimized()) {
                front = window;
                break;
            }
        }
    }
    QScreen* target = front ? front->screen() : nullptr;
    if (!target || target == form_->screen())
        return;
    form_->setScreen(target);
    // A window system that places windows itself (X11) puts a full-screen window on the
    // output it is on.
    if (!target->geometry().contains(form_->geometry().center()))
        form_->move(target->geometry().topLeft());
}

// The mode is virtual: the form covers the real screen and the page is put on it.
void TCustomDXDraw::takeOverScreen() {
    form_->showFullScreen();
    form_->raise();
    form_->activateWindow();
    setGeometry(form_->rect());
    lastPointer_ = QCursor::pos();
    update();
}

void TCustomDXDraw::Finalize() {
    if (!requested_)
        return;
    surfaceWidth_ = SurfaceWidth();
    surfaceHeight_ = SurfaceHeight();
    display_.dropModes();
    updating_ = true;
    std::exception_ptr raised;
    if (initializeSurfaceFired_) {
        initializeSurfaceFired_ = false;
        try {
            fire(OnFinalizeSurface);
        } catch (...) {
            raised = std::current_exception();
        }
    }
    if (initializeFired_) {
        initializeFired_ = false;
        try {
            fire(OnFinalize);
        } catch (...) {
            if (!raised)
                raised = std::current_exception();
        }
    }
    initialized_ = false;
    setOptions(options_);
    presenter_->clear();
    driver_.reset();
    updating_ = false;
    update();
    if (raised)
        std::rethrow_exception(raised);
}

bool TCustomDXDraw::CheckSurfaces() {
    if (!initialized_ || updating_ || !primary_ || !primary_->hasInterface())
        return false;
    const bool primaryLost = primary_->IsLost();
    const bool backLost = back_ && back_->IsLost();
    if (!primaryLost && !backLost)
        return true;
    RestoreSurfaces();
    return !primary_->IsLost() && primary_->LastResult() == ddraw::DD_OK &&
           !(back_ && back_->IsLost());
}

void TCustomDXDraw::RestoreSurfaces() {
    if (!initialized_ || updating_)
        return;
    FlagGuard updating(updating_);
    const bool primaryRestored = primary_ && primary_->Restore();
    const bool backRestored = back_ && back_->Restore();
    if (!primaryRestored || !backRestored)
        return;
    primary_->ColorFill(0);
    back_->ColorFill(0);
    primary_->SetPalette(palette_);
    back_->SetPalette(palette_);
    if (palette_)
        palette_->SetEntries(paletteEntries(defColorTable));
    fire(OnRestoreSurface);
    if (palette_)
        palette_->SetEntries(paletteEntries(colorTable));
}

bool TCustomDXDraw::ReadyToDraw() {
    return initialized_ && !updating_ && back_ && back_->hasInterface() && CheckSurfaces();
}

void TCustomDXDraw::Flip() {
    if (initialized_ && !updating_ && CheckSurfaces())
        driver_->Flip();
}

void TCustomDXDraw::whenShown(std::function<void()> then) {
    presenter_->whenShown(std::move(then));
}

void TCustomDXDraw::forgetWaiting() {
    presenter_->forgetWaiting();
}

void TCustomDXDraw::FlipToGDISurface() {
    if (initialized_ && hasOption(effective_, doFullScreen) && hasOption(effective_, doFlip))
        ddraw_->FlipToGDISurface();
}

bool TCustomDXDraw::formIsActive() const {
    return environment().windowActive(form_);
}

void TCustomDXDraw::hookParentForm() {
    QWidget* form = parentWidget() ? window() : nullptr;
    if (form == form_)
        return;
    if (form_)
        form_->removeEventFilter(this);
    form_ = form;
    if (form_) {
        form_->installEventFilter(this);
        setGeometry(form_->rect());
    }
}

bool TCustomDXDraw::eventFilter(QObject* watched, QEvent* event) {
    if (watched != form_)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Show:
        // The form's first show brings the component up in its window.
        if (autoInitialize_ && !requested_)
            Initialize();
        break;
    case QEvent::WindowDeactivate:
        FlipToGDISurface();
        break;
    case QEvent::Resize:
        if (parentWidget() == form_)
            setGeometry(form_->rect());
        break;
    default:
        break;
    }
    return false;
}

bool TCustomDXDraw::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange)
        hookParentForm();
    return QWidget::event(event);
}

void TCustomDXDraw::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!autoSize_ || updating_)
        return;
    if (initialized_) {
        FlagGuard updating(updating_);
        driver_->setSize(QWidget::width(), QWidget::height());
    } else {
        surfaceWidth_ = QWidget::width();
        surfaceHeight_ = QWidget::height();
    }
}

void TCustomDXDraw::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QImage* page = primary_ ? primary_->page() : nullptr;
    if (!initialized_ || !page) {
        painter.fillRect(rect(), Qt::black);
    } else if (hasOption(effective_, doFullScreen)) {
        // In device pixels: the page was drawn at the screen's resolution.
        const qreal scale = devicePixelRatioF();
        painter.scale(1 / scale, 1 / scale);
        const PagePresenter::Frame& frame = presenter_->shown();
        paintPage(painter, pageArea(frame.page.size()), frame.page, frame.lit,
                  toDevicePixels(event->region(), scale));
    } else {
        // The windowed primary is the desktop; show the part under the control.
        painter.fillRect(rect(), Qt::black);
        const QPoint origin = mapToGlobal(QPoint(0, 0));
        painter.drawImage(QPoint(0, 0), *page, QRect(origin, size()));
    }
}

void TCustomDXDraw::mouseMoveEvent(QMouseEvent* event) {
    // The window system reports motion when a window appears under a still pointer.
    const QPoint at = event->globalPosition().toPoint();
    if (at == lastPointer_)
        return;
    lastPointer_ = at;
    if (OnMouseMove)
        OnMouseMove();
}

void TCustomDXDraw::mouseReleaseEvent(QMouseEvent* event) {
    if (OnMouseUp)
        OnMouseUp(event->button());
}

TDXDraw::TDXDraw(QWidget* parent) : TCustomDXDraw(parent) {}

} // namespace quillon