#include "platform/core/services.h"

#include "platform/core/clock.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace quillon {

namespace {

// Whether the window system has made the application active at least once. One that never
// does (a compositor without a keyboard, or one that keeps the focus from a program it did
// not start) says nothing of it, and the program's windows count as active until it does.
bool activationReported() {
    static bool reported = false;
    static const bool watching = [] {
        if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QObject::connect(app, &QGuiApplication::applicationStateChanged, app,
                             [](Qt::ApplicationState state) {
                                 reported = reported || state == Qt::ApplicationActive;
                             });
        return true;
    }();
    (void)watching;
    reported = reported || QGuiApplication::applicationState() == Qt::ApplicationActive;
    return reported;
}

} // namespace

bool Environment::applicationActive() const {
    return !activationReported() || QGuiApplication::applicationState() == Qt::ApplicationActive;
}

bool Environment::windowActive(const QWidget* window) const {
    if (!window)
        return false;
    return activationReported() ? QApplication::activeWindow() == window : window->isVisible();
}

RunMode Environment::runMode() const {
    return {};
}

QString Environment::settingsFolder() const {
    return {};
}

namespace {

Services& current() {
    // What this folder can make itself is there from the first use; the rest comes when
    // the program installs it.
    static Services services = [] {
        static SystemClock clock;
        static Environment environment;
        Services s;
        s.clock = &clock;
        s.environment = &environment;
        return s;
    }();
    return services;
}

template <typename T> T& installed(T* service, const char* name) {
    if (!service) {
        // A fault of whoever runs the program, not of its input: say which and stop.
        std::fprintf(stderr, "quillon: no %s is installed; the program's services were not made\n",
                     name);
        std::abort();
    }
    return *service;
}

template <typename T> void replace(T*& slot, T* replacement) {
    if (replacement)
        slot = replacement;
}

} // namespace

const Services& services() {
    return current();
}

ScopedServices::ScopedServices(const Services& replacements) : saved_(current()) {
    Services& s = current();
    replace(s.clock, replacements.clock);
    replace(s.sound, replacements.sound);
    replace(s.display, replacements.display);
    replace(s.prompts, replacements.prompts);
    replace(s.environment, replacements.environment);
}

ScopedServices::~ScopedServices() {
    current() = saved_;
}

Clock& programClock() {
    return *services().clock;
}
SoundSystem& soundSystem() {
    return installed(services().sound, "sound system");
}
ddraw::Device& programDisplayDevice() {
    return installed(services().display, "display device");
}
Prompts& prompts() {
    return installed(services().prompts, "prompts");
}
Environment& environment() {
    return *services().environment;
}

} // namespace quillon
