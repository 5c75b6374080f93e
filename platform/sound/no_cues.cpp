#include "platform/sound/no_cues.h"

namespace quillon {

void NoCues::playCue(const QString&) {}

} // namespace quillon
