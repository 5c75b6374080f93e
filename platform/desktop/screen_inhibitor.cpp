#include "platform/desktop/screen_inhibitor.h"

namespace quillon {

bool keepsScreenAwake(const QStringList& arguments) {
    if (arguments.size() > 1) {
        const QString first = arguments.at(1).toUpper();
        if (first == QLatin1String("/S") || first == QLatin1String("/P"))
            return false;
    }
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString a = arguments.at(i);
        if (a.startsWith(QLatin1String("--")))
            a.remove(0, 1);
        if (a == QLatin1String("-root") || a == QLatin1String("-window-id") ||
            a == QLatin1String("-window") || a == QLatin1String("-export"))
            return false;
    }
    return true;
}

std::unique_ptr<ScreenInhibitor> makeScreenInhibitor(const QStringList& arguments) {
    if (!keepsScreenAwake(arguments))
        return std::make_unique<NoScreenInhibitor>();
    return makeDesktopScreenInhibitor();
}

} // namespace quillon
