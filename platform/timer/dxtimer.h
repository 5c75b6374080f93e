#pragma once
// The frame timer: ticks from the application's idle processing once at least Interval
// milliseconds have passed since the last tick. Instead of polling the clock, the idle
// slot sleeps until the next tick is due.
#include <QObject>
#include <cstdint>
#include <functional>

class QTimer;

namespace quillon {

class TCustomDXTimer;
using TDXTimerEvent = std::function<void(TCustomDXTimer* sender, int32_t lagCount)>;

// The application's one idle-handler slot. A running timer occupies it.
class IdleSlot : public QObject {
public:
    static IdleSlot& instance();
    void install(TCustomDXTimer* timer); // replaces whatever was there
    void clear();
    TCustomDXTimer* installed() const { return installed_; }
    // One idle pass: the installed timer's idle step. Tests call this directly.
    void runIdle();
    // Recomputes when the installed timer is next due and arms the wake-up.
    void rearm();

private:
    IdleSlot();
    TCustomDXTimer* installed_ = nullptr;
    QTimer* wake_ = nullptr;
};

class TCustomDXTimer : public QObject {
public:
    explicit TCustomDXTimer(QObject* owner = nullptr);
    ~TCustomDXTimer() override;

    bool ActiveOnly() const { return activeOnly_; }
    void setActiveOnly(bool value) { activeOnly_ = value; }
    bool Enabled() const { return enabled_; }
    void setEnabled(bool value);
    uint32_t Interval() const { return interval_; }
    void setInterval(uint32_t value);
    bool Started() const { return started_; }
    uint32_t LastTickTime() const { return lastTickTime_; }
    TDXTimerEvent OnTimer;

    // Ends stored-layout loading: starts the timer when it is enabled.
    void Loaded();
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

    bool activeOnly_ = true;
    bool enabled_ = true;
    bool started_ = false;
    bool loading_ = true;
    uint32_t interval_ = 0;
    uint32_t lagDivisor_ = 1;
    uint32_t lastTickTime_ = 0;
};

class TDXTimer : public TCustomDXTimer {
public:
    using TCustomDXTimer::TCustomDXTimer;
};

} // namespace quillon
