#include "platform/display/refresh_clock.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cmath>

namespace quillon {

TimerRefreshClock::TimerRefreshClock(double hz, QObject* parent)
    : QObject(parent), timer_(new QTimer(this)), origin_(Steady::now()) {
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (onRefresh)
            onRefresh();
    });
    setRate(hz);
}

void TimerRefreshClock::setRate(double hz) {
    // Anything outside what a display does is taken as the usual 60 Hz.
    periodMs_ = 1000.0 / (hz >= 20.0 && hz <= 500.0 ? hz : 60.0);
}

void TimerRefreshClock::requestRefresh() {
    if (timer_->isActive())
        return;
    const double sinceOrigin =
        std::chrono::duration<double, std::milli>(Steady::now() - origin_).count();
    const double next = std::ceil(sinceOrigin / periodMs_) * periodMs_;
    timer_->start(static_cast<int>(std::ceil(next - sinceOrigin)));
}

double TimerRefreshClock::rateOf(const QScreen* screen) {
    const double hz = screen ? screen->refreshRate() : 0.0;
    return hz > 0.0 ? hz : 60.0;
}

WindowRefreshClock::WindowRefreshClock(QWindow* window, double hz)
    : QObject(window), window_(window), own_(hz, this), watchdog_(new QTimer(this)) {
    watchdog_->setSingleShot(true);
    watchdog_->setTimerType(Qt::PreciseTimer);
    connect(watchdog_, &QTimer::timeout, this, [this] {
        quiet_ = true;
        answer();
    });
    own_.onRefresh = [this] { answer(); };
    window_->installEventFilter(this);
}

void WindowRefreshClock::setRate(double hz) {
    own_.setRate(hz);
}

void WindowRefreshClock::requestRefresh() {
    if (pending_)
        return;
    pending_ = true;
    const bool exposed = window_->isExposed();
    if (exposed) {
        asked_ = true;
        window_->requestUpdate();
    }
    if (!exposed || quiet_)
        own_.requestRefresh();
    else
        watchdog_->start(static_cast<int>(std::ceil(2 * own_.periodMs())));
}

bool WindowRefreshClock::showsAtNextRefresh() const {
    return !quiet_ && window_->isExposed();
}

void WindowRefreshClock::answer() {
    if (!pending_)
        return;
    pending_ = false;
    watchdog_->stop();
    if (onRefresh)
        onRefresh();
}

bool WindowRefreshClock::available() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool WindowRefreshClock::eventFilter(QObject* watched, QEvent* event) {
    // The window's own repaints use the same signal; only a request of ours is answered.
    if (watched == window_ && event->type() == QEvent::UpdateRequest && asked_) {
        asked_ = false;
        quiet_ = false;
        answer();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quillon
