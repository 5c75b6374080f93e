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

WindowRefreshClock::WindowRefreshClock(QWindow* window) : QObject(window), window_(window) {
    window_->installEventFilter(this);
}

void WindowRefreshClock::requestRefresh() {
    requested_ = true;
    window_->requestUpdate();
}

bool WindowRefreshClock::available() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool WindowRefreshClock::eventFilter(QObject* watched, QEvent* event) {
    // The window's own repaints use the same signal; only a request of ours is answered.
    if (watched == window_ && event->type() == QEvent::UpdateRequest && requested_) {
        requested_ = false;
        if (onRefresh)
            onRefresh();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quillon
