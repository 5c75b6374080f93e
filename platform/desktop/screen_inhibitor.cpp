#include "platform/desktop/screen_inhibitor.h"

namespace quillon {

std::unique_ptr<ScreenInhibitor> makeScreenInhibitor(const RunMode& mode) {
    if (!mode.keepsScreenAwake())
        return std::make_unique<NoScreenInhibitor>();
    return makeDesktopScreenInhibitor();
}

} // namespace quillon
