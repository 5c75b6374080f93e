#include "platform/ui/headless_platform.h"

namespace quillon {

// Windows always has a desktop, and only its own platform knows the installed fonts (the
// offscreen one draws every character as an empty box there): a run without windows
// stays on it.
void useHeadlessPlatform() {}

} // namespace quillon
