#pragma once
// The program-wide things the rest of the program reaches through the platform: the
// clock, the sound system, the display device, the boxes and choosers, and the
// environment it runs in. The clock and the environment are this folder's own; the
// others live in folders above it, so the program installs them (ProgramServices,
// platform/services/). A test replaces any of them for a scope with ScopedServices.
#include "platform/core/run_mode.h"

#include <QString>

class QWidget;

namespace quillon {

class Clock;
class SoundSystem;
class Prompts;
namespace ddraw {
class Device;
}

// What the program asks of the system it runs on.
class Environment {
public:
    virtual ~Environment() = default;
    // The application is the active one (it has the focus).
    virtual bool applicationActive() const;
    // The window is the active window.
    virtual bool windowActive(const QWidget* window) const;
    // How this run was started; normal use unless the program's main says otherwise.
    virtual RunMode runMode() const;
    // A folder where Quillon.ini is read and written whatever the usual rules of its
    // place say; empty (the program's own environment): by those rules.
    virtual QString settingsFolder() const;
};

struct Services {
    Clock* clock = nullptr;
    SoundSystem* sound = nullptr;
    ddraw::Device* display = nullptr;
    Prompts* prompts = nullptr;
    Environment* environment = nullptr;
};

// The services in force; the sound system, the display device and the prompts are null
// until the program installs them.
const Services& services();

// Replaces the non-null members of the given services until the guard goes; then
// everything is as it was, whatever the scope did meanwhile.
class ScopedServices {
public:
    explicit ScopedServices(const Services& replacements);
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    Services saved_;
};

// Shorthands for the services in force; asking for one nobody installed stops the program
// with a message.
Clock& programClock();
SoundSystem& soundSystem();
ddraw::Device& programDisplayDevice();
Prompts& prompts();
Environment& environment();

} // namespace quillon
