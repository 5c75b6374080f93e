#include "platform/ui/headless_platform.h"

#include <QByteArray>

namespace quillon {

// Qt's offscreen platform finds the fonts through fontconfig, as the desktop does.
void useHeadlessPlatform() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace quillon
