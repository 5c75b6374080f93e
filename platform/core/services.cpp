#include "platform/core/services.h"

#include "platform/core/clock.h"
#include "platform/display/ddraw_device.h"
#include "platform/sound/openal_device.h"
#include "platform/ui/prompts.h"

#include <QApplication>
#include <QGuiApplication>

namespace quillon {

bool Environment::applicationActive() const {
    return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

bool Environment::windowActive(const QWidget* window) const {
    return window && QApplication::activeWindow() == window;
}

QStringList Environment::arguments() const {
    QStringList args = QCoreApplication::arguments();
    if (!args.isEmpty())
        args.removeFirst();
    return args;
}

QString Environment::settingsFolder() const {
    return {};
}

namespace {

Services& current() {
    // The program's own services, made on first use and kept to the end.
    static Services services = [] {
        static SystemClock clock;
        static OpenALSoundSystem sound;
        static WidgetPrompts prompts;
        static Environment environment;
        Services s;
        s.clock = &clock;
        s.sound = &sound;
        s.display = &ddraw::defaultDisplayDevice();
        s.prompts = &prompts;
        s.environment = &environment;
        return s;
    }();
    return services;
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
    return *services().sound;
}
ddraw::Device& programDisplayDevice() {
    return *services().display;
}
Prompts& prompts() {
    return *services().prompts;
}
Environment& environment() {
    return *services().environment;
}

QString FirstArgumentUpper() {
    const QStringList args = environment().arguments();
    return args.isEmpty() ? QString() : args.first().toUpper();
}

} // namespace quillon
