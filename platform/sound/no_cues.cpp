#include "platform/sound/no_cues.h"

namespace quillon {

void NoCues::PlayCue(const QString&) {}

} // namespace quillon
