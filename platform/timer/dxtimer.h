#pragma once
// The frame timer: ticks from the application's idle processing once at least Interval
// milliseconds have passed since the last tick. Instead of polling the clock, the idle
// slot sleeps until the next tick is due. A timer made without the idle slot ticks only
// when its owner runs its idle step: a card on a virtual clock is driven that way.
#include "platform/timer/frame_timer.h"

#include <QObject>
#include <cstdint>
#include <functional>

namespace quillon {

class Clock;
class IdleSlot;
class TCustomDXTimer;
using TDXTimerEvent = std::function<void(TCustomDXTimer* sender, int32_t lagCount)>;

class TCustomDXTimer : public QObject, public FrameTimer {
public:
    // On the program's clock and idle slot.
    explicit TCustomDXTimer(QObject* owner = nullptr);
    // On the given clock; with no idle slot, the owner calls idleStep itself.
    TCustomDXTimer(QObject* owner, Clock& clock, IdleSlot* slot);
    ~TCustomDXTimer() override;

    bool ActiveOnly() const { return activeOnly_; }
    void setActiveOnly(bool value) { activeOnly_ = value; }
    bool Enabled() const override { return enabled_; }
    void setEnabled(bool value) override;
    uint32_t Interval() const override { return interval_; }
    void setInterval(uint32_t value) override;
    bool Started() const { return started_; }
    // Started and not waiting for the application to become active.
    bool running() const { return resumed_; }
    uint32_t LastTickTime() const { return lastTickTime_; }
    TDXTimerEvent OnTimer;

    // Ends stored-layout loading: starts the timer when it is enabled.
    void loaded();
    // Milliseconds until the next tick is due (0 when due now).
    uint32_t msUntilDue() const;
    // The idle step: ticks when due.
    void idleStep();
    // Activation hook.
    void applicationActivated();
    void applicationDeactivated();

private:
    void start();
    void stop();
    void resume();
    void suspend();

    Clock& clock_;
    IdleSlot* slot_;
    bool activeOnly_ = true;
    bool enabled_ = true;
    bool started_ = false;
    bool loading_ = true;
    bool resumed_ = false;
    uint32_t interval_ = 0;
    uint32_t lagDivisor_ = 1;
    uint32_t lastTickTime_ = 0;
};

class TDXTimer : public TCustomDXTimer {
public:
    using TCustomDXTimer::TCustomDXTimer;
};

// Moves a clock on to a running timer's next tick and runs it; false when the timer is
// not running. For timers without the idle slot.
class ManualClock;
bool advanceToNextTick(TCustomDXTimer& timer, ManualClock& clock);

} // namespace quillon
