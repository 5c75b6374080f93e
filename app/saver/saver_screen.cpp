#include "app/saver/saver_screen.h"

#include "platform/core/error.h"
#include "platform/core/product.h"
#include "platform/desktop/foreign_window.h"
#include "platform/display/page_view.h"
#include "platform/display/resizable_pages.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace quillon {

namespace {
// A resize that comes while a page waits to go up is tried again this much later.
constexpr int RetryMs = 10;

// The scale of pages for a target of this size. Pages are never drawn below the mode's
// own size (a painter does not scale by a pixel ratio under 1): a smaller window, such
// as a preview, shows them scaled down.
double pageScale(QSize pixels) {
    const double fit =
        ResizablePages::scaleToFit(SaverScreen::ModeWidth, SaverScreen::ModeHeight, pixels);
    return fit > 0 ? std::max(1.0, fit) : 0;
}

QSize logicalSize(QSize pixels, qreal scale) {
    return QSize(int(std::ceil(pixels.width() / scale)), int(std::ceil(pixels.height() / scale)));
}
} // namespace

SaverScreen::SaverScreen(const SaverOptions& options)
    : target_(options.target), refresh_(60.0), retry_(new QTimer(&refresh_)) {
    if (target_ == SaverOptions::Target::Foreign)
        makeViewIn(options.windowId);
    else
        makeViewOfItsOwn();
    view_->setStyle(options.style);
    refresh_.setRate(TimerRefreshClock::rateOf(view_->screen()));
    const double initial = pageScale(view_->pixelSize());
    wantedScale_ = initial > 0 ? initial : 1.0; // a window not yet sized
    pages_ = std::make_unique<ResizablePages>(
        ModeWidth, ModeHeight, wantedScale_, &refresh_,
        [this](const PagePresenter::Frame& frame) { view_->showFrame(frame); });
    view_->OnPixelSizeChanged = [this](QSize pixels) { follow(pixels); };
    retry_->setSingleShot(true);
    retry_->setInterval(RetryMs);
    QObject::connect(retry_, &QTimer::timeout, retry_, [this] { rescale(); });
}

void SaverScreen::makeViewIn(uint32_t windowId) {
    foreign_ = ForeignWindow::open(windowId);
    if (!foreign_)
        throw Exception(
            formatMessage(QCoreApplication::translate(
                              "Saver", "ウィンドウ 0x%s に描けません (そのウィンドウはありません)"),
                          {QString::number(windowId, 16)}));
    view_ = std::make_unique<PageView>(foreign_->window());
    view_->setTransparentForInput();
    view_->resize(logicalSize(foreign_->pixelSize(), view_->devicePixelRatio()));
    foreign_->OnResized = [this](QSize pixels) {
        view_->resize(logicalSize(pixels, view_->devicePixelRatio()));
    };
    foreign_->OnGone = [this] {
        if (OnGone)
            OnGone();
    };
}

void SaverScreen::makeViewOfItsOwn() {
    view_ = std::make_unique<PageView>();
    view_->setTitle(productName());
    if (target_ == SaverOptions::Target::OwnFullScreen) {
        view_->setCursor(Qt::BlankCursor);
        if (const QScreen* screen = view_->screen())
            view_->resize(screen->geometry().size());
    } else {
        view_->resize(ModeWidth, ModeHeight);
    }
}

SaverScreen::~SaverScreen() {
    // The pages show on the view, and the view lives in the other program's window.
    pages_.reset();
    view_.reset();
}

FlipPages& SaverScreen::pages() {
    return *pages_;
}

void SaverScreen::show() {
    if (target_ == SaverOptions::Target::OwnFullScreen)
        view_->showFullScreen();
    else
        view_->show();
}

void SaverScreen::follow(QSize pixels) {
    const double scale = pageScale(pixels);
    if (scale <= 0)
        return;
    wantedScale_ = scale;
    rescale();
}

void SaverScreen::rescale() {
    if (std::abs(wantedScale_ - pages_->scale()) < 1e-9)
        return;
    if (!pages_->rescale(wantedScale_)) {
        retry_->start();
        return;
    }
    if (OnPagesRemade)
        OnPagesRemade();
}

} // namespace quillon
