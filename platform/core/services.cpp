#include "platform/core/services.h"

#include "platform/core/clock.h"

#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

namespace quillon {

bool Environment::applicationActive() const {
    return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

bool Environment::windowActive(const QWidget* window) const {
    return window && QApplication::activeWindow() == window;
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
