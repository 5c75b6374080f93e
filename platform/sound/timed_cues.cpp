#include "platform/sound/timed_cues.h"

#include "platform/core/clock.h"

#include <utility>

namespace quillon {

TimedCues::TimedCues(Clock& clock, int sampleRate) : clock_(clock), sampleRate_(sampleRate) {}

void TimedCues::playCue(const QString& name) {
    cues_.push_back({name, int64_t(clock_.nowMs()) * sampleRate_ / 1000});
}

std::vector<CueStart> TimedCues::take() {
    return std::exchange(cues_, {});
}

} // namespace quillon
