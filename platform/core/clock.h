#pragma once
// The millisecond clock and the time of day, injectable so that tests drive time.
#include <cstdint>

namespace quillon {

class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic milliseconds; unsigned 32-bit, wraps like the system clock it stands for.
    virtual uint32_t nowMs() = 0;
    // UTC time of day in milliseconds since midnight.
    virtual uint32_t utcTimeOfDayMs() = 0;
};

class SystemClock : public Clock {
public:
    uint32_t nowMs() override;
    uint32_t utcTimeOfDayMs() override;
};

// A clock that only moves when told to.
class ManualClock : public Clock {
public:
    uint32_t nowMs() override { return now_; }
    uint32_t utcTimeOfDayMs() override { return timeOfDay_; }
    void advance(uint32_t ms) { now_ += ms; }
    void set(uint32_t ms) { now_ = ms; }
    void setTimeOfDay(uint32_t ms) { timeOfDay_ = ms; }

private:
    uint32_t now_ = 0;
    uint32_t timeOfDay_ = 0;
};

} // namespace quillon
