#include "platform/timer/dxtimer.h"

#include "platform/core/clock.h"
#include "platform/core/services.h"
#include "platform/timer/idle_slot.h"

#include <QGuiApplication>

namespace quillon {

TCustomDXTimer::TCustomDXTimer(QObject* owner)
    : TCustomDXTimer(owner, programClock(), &IdleSlot::instance()) {}

TCustomDXTimer::TCustomDXTimer(QObject* owner, Clock& clock, IdleSlot* slot)
    : QObject(owner), clock_(clock), slot_(slot) {
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
    if (slot_ && slot_->installed() == this)
        slot_->clear();
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
    if (started_ && slot_ && slot_->installed() == this)
        slot_->rearm();
}

void TCustomDXTimer::loaded() {
    loading_ = false;
    if (enabled_)
        start();
}

uint32_t TCustomDXTimer::msUntilDue() const {
    const uint32_t elapsed = clock_.nowMs() - lastTickTime_;
    return elapsed >= interval_ ? 0 : interval_ - elapsed;
}

void TCustomDXTimer::idleStep() {
    if (!resumed_)
        return;
    const uint32_t now = clock_.nowMs();
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
    if (!activeOnly_ || environment().applicationActive())
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
    lastTickTime_ = clock_.nowMs();
    resumed_ = true;
    if (slot_)
        slot_->install(this);
}

void TCustomDXTimer::suspend() {
    resumed_ = false;
    if (slot_)
        slot_->clear();
}

bool advanceToNextTick(TCustomDXTimer& timer, ManualClock& clock) {
    if (!timer.running())
        return false;
    clock.advance(timer.msUntilDue());
    timer.idleStep();
    return true;
}

} // namespace quillon
