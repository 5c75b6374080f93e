#pragma once
// An environment a test sets by hand: whether the application and the windows count as
// active, the command line, and where Quillon.ini lives.
#include "platform/core/services.h"

#include <optional>

namespace quillon::testing {

class TestEnvironment : public Environment {
public:
    bool active = true;
    // Unset: a window is active when the window system says so.
    std::optional<bool> windowsActive = true;
    QStringList args;
    QString settings;

    bool applicationActive() const override { return active; }
    bool windowActive(const QWidget* window) const override {
        return windowsActive ? *windowsActive : Environment::windowActive(window);
    }
    QStringList arguments() const override { return args; }
    QString settingsFolder() const override { return settings; }
};

} // namespace quillon::testing
