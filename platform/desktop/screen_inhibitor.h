#pragma once
// Keeps the desktop from blanking the screen while a card plays. Without a desktop
// that answers, nothing happens.
#include "platform/core/run_mode.h"

#include <memory>

namespace quillon {

class ScreenInhibitor {
public:
    virtual ~ScreenInhibitor() = default;
    // Both may be called any number of times; only the first inhibit after a release
    // asks the desktop, and only a held inhibition is released.
    virtual void inhibit() = 0;
    virtual void release() = 0;
};

// The desktop's own inhibitor, one per system (screen_inhibitor_posix.cpp: the session
// bus's services). The calls do not wait for the desktop: a card must not stall on a
// slow or absent service.
std::unique_ptr<ScreenInhibitor> makeDesktopScreenInhibitor();

// The inhibitor for this run: the desktop's when the run keeps the screen awake, else
// one that does nothing.
std::unique_ptr<ScreenInhibitor> makeScreenInhibitor(const RunMode& mode);

// For the runs that must not keep the screen awake.
class NoScreenInhibitor : public ScreenInhibitor {
public:
    void inhibit() override {}
    void release() override {}
};

} // namespace quillon
