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

std::unique_ptr<ScreenInhibitor> makeDesktopScreenInhibitor() {
    return std::make_unique<ExecutionStateInhibitor>();
}

} // namespace quillon
