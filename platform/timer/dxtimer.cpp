#include "platform/timer/dxtimer.h"

#include "platform/ui/application.h"
#include "platform/core/clock.h"

#include <QGuiApplication>
#include <QTimer>
#include <exception>

namespace quillon {

// --- IdleSlot ---------------------------------------------------------------

IdleSlot::IdleSlot() {
    wake_ = new QTimer(this);
    wake_->setSingleShot(true);
    wake_->setTimerType(Qt::PreciseTimer);
    connect(wake_, &QTimer::timeout, this, [this] { runIdle(); });
}

IdleSlot& IdleSlot::instance() {
    static IdleSlot* slot = new IdleSlot; // lives as long as the program
    return *slot;
}

void IdleSlot::install(TCustomDXTimer* timer) {
    installed_ = timer;
    rearm();
}

void IdleSlot::clear() {
    installed_ = nullptr;
    wake_->stop();
}

void IdleSlot::runIdle() {
    if (installed_) {
        try {
            installed_->idleStep();
        } catch (const std::exception& error) {
            // An error from the tick handler is reported; the timer stays as the handler left it.
            reportError(error);
        }
    }
    rearm();
}

void IdleSlot::rearm() {
    if (!installed_) {
        wake_->stop();
        return;
    }
    // Sleep until the tick is due; the idle step itself never ticks early.
    wake_->start(static_cast<int>(std::min<uint32_t>(installed_->msUntilDue(), 0x7FFFFFFF)));
}

// --- TCustomDXTimer ---------------------------------------------------------

TCustomDXTimer::TCustomDXTimer(QObject* owner) : QObject(owner) {
    setInterval(1000);
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state == Qt::ApplicationActive)
                        applicationActivated();
                    else
                        applicationDeactivated();
                });
    }
}

TCustomDXTimer::~TCustomDXTimer() {
    stop();
    if (IdleSlot::instance().installed() == this)
        IdleSlot::instance().clear();
}

void TCustomDXTimer::setEnabled(bool value) {
    if (enabled_ == value)
        return;
    enabled_ = value;
    if (loading_)
        return;
    if (value)
        start();
    else
        stop();
}

void TCustomDXTimer::setInterval(uint32_t value) {
    if (interval_ == value)
        return;
    // A value that reads negative as a signed number acts as 0.
    interval_ = static_cast<int32_t>(value) < 0 ? 0 : value;
    lagDivisor_ = interval_ < 1 ? 1 : interval_;
    if (started_ && IdleSlot::instance().installed() == this)
        IdleSlot::instance().rearm();
}

void TCustomDXTimer::Loaded() {
    loading_ = false;
    if (enabled_)
        start();
}

uint32_t TCustomDXTimer::msUntilDue() const {
    const uint32_t elapsed = programClock().nowMs() - lastTickTime_;
    return elapsed >= interval_ ? 0 : interval_ - elapsed;
}

void TCustomDXTimer::idleStep() {
    const uint32_t now = programClock().nowMs();
    const uint32_t elapsed = now - lastTickTime_;
    if (elapsed < interval_)
        return;
    lastTickTime_ = now;
    uint32_t lag = elapsed / lagDivisor_;
    if (lag < 1)
        lag = 1;
    if (OnTimer)
        OnTimer(this, static_cast<int32_t>(lag));
}

void TCustomDXTimer::applicationActivated() {
    if (started_ && activeOnly_)
        resume();
}

void TCustomDXTimer::applicationDeactivated() {
    if (started_ && activeOnly_)
        suspend();
}

void TCustomDXTimer::start() {
    stop();
    if (!activeOnly_ || isApplicationActive())
        resume();
    started_ = true;
}

void TCustomDXTimer::stop() {
    if (started_) {
        suspend();
        started_ = false;
    }
}

void TCustomDXTimer::resume() {
    lastTickTime_ = programClock().nowMs();
    IdleSlot::instance().install(this);
}

void TCustomDXTimer::suspend() {
    IdleSlot::instance().clear();
}

} // namespace quillon
