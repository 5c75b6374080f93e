#include "platform/core/random.h"

#include "platform/core/clock.h"
#include "platform/core/services.h"

namespace quillon {

void Random::reseed() {
    seed_ = programClock().utcTimeOfDayMs();
}

Random& programRandom() {
    static Random random;
    return random;
}

} // namespace quillon
