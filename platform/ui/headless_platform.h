#pragma once
// The platform for a run that shows no window (an export): it must draw text with the
// fonts installed and must not need a display. Call before the application is made.
namespace quillon {

void useHeadlessPlatform();

} // namespace quillon
