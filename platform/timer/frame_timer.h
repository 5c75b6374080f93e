#pragma once
// What a title card needs of time: a re-armable delay. Enabling starts the count, a tick
// never comes before Interval milliseconds have passed, and none comes while disabled.
#include <cstdint>

namespace quillon {

class FrameTimer {
public:
    virtual ~FrameTimer() = default;
    virtual uint32_t Interval() const = 0;
    virtual void setInterval(uint32_t value) = 0;
    virtual bool Enabled() const = 0;
    virtual void setEnabled(bool value) = 0;
};

} // namespace quillon
