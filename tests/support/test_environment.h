#pragma once
// An environment a test sets by hand: whether the application and the windows count as
// active, how the run was started, and where Quillon.ini lives.
#include "platform/core/services.h"

#include <optional>

namespace quillon::testing {

class TestEnvironment : public Environment {
public:
    bool active = true;
    // Unset: a window is active when the window system says so.
    std::optional<bool> windowsActive = true;
    RunMode mode;
    QString settings;

    bool applicationActive() const override { return active; }
    bool windowActive(const QWidget* window) const override {
        return windowsActive ? *windowsActive : Environment::windowActive(window);
    }
    RunMode runMode() const override { return mode; }
    QString settingsFolder() const override { return settings; }
};

} // namespace quillon::testing
