#include "platform/display/refresh_clock.h"

#include <QScreen>
#include <QTimer>
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

} // namespace quillon
