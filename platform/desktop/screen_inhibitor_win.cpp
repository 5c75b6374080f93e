#include "platform/desktop/screen_inhibitor.h"

#include <windows.h>

namespace quillon {

namespace {

// Windows keeps the display on while the thread that asked has ES_DISPLAY_REQUIRED set
// with ES_CONTINUOUS; clearing it gives the decision back to the system. The request
// is per thread, so the inhibitor is used from the UI thread only, as on Linux.
class ExecutionStateInhibitor : public ScreenInhibitor {
public:
    ~ExecutionStateInhibitor() override { release(); }

    void inhibit() override {
        if (held_)
            return;
        held_ =
            SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED) != 0;
    }

    void release() override {
        if (!held_)
            return;
        SetThreadExecutionState(ES_CONTINUOUS);
        held_ = false;
    }

private:
    bool held_ = false;
};

} // namespace

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
    return std::make_unique<ExecutionStateInhibitor>();
}

} // namespace quillon
