#pragma once
// The cues of a card played on a clock, each with the moment it started, kept until they
// are taken (to be mixed offline).
#include "platform/sound/cue_sink.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace quillon {

class Clock;

struct CueStart {
    QString name;   // as the card played it
    int64_t sample; // the sample, at the sink's rate, where the cue starts
};

class TimedCues : public CueSink {
public:
    TimedCues(Clock& clock, int sampleRate);
    void playCue(const QString& name) override;
    // The cues started since the last take, in the order they started.
    std::vector<CueStart> take();

private:
    Clock& clock_;
    int sampleRate_;
    std::vector<CueStart> cues_;
};

} // namespace quillon
