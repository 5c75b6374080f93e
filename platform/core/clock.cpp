#include "platform/core/clock.h"

#include <chrono>

namespace quillon {

uint32_t SystemClock::nowMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

uint32_t SystemClock::utcTimeOfDayMs() {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(ms % (24LL * 60 * 60 * 1000));
}

} // namespace quillon
