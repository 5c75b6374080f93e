#pragma once
// The cues of a card nobody hears: each is dropped.
#include "platform/sound/cue_sink.h"

namespace quillon {

class NoCues : public CueSink {
public:
    void playCue(const QString& name) override;
};

} // namespace quillon
