#pragma once
// Keeps the desktop from blanking the screen while a card plays. The desktop is asked
// over the session bus; without a bus or a service that answers, nothing happens.
#include "platform/core/run_mode.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QDBusPendingCallWatcher;

namespace quillon {

class ScreenInhibitor {
public:
    virtual ~ScreenInhibitor() = default;
    // Both may be called any number of times; only the first inhibit after a release
    // asks the desktop, and only a held inhibition is released.
    virtual void inhibit() = 0;
    virtual void release() = 0;
};

// Asks the first of org.freedesktop.ScreenSaver, org.gnome.SessionManager and
// org.mate.SessionManager that answers. The calls do not wait for the desktop: a card
// must not stall on a slow or absent service.
class DBusScreenInhibitor : public QObject, public ScreenInhibitor {
public:
    DBusScreenInhibitor();
    ~DBusScreenInhibitor() override;

    void inhibit() override;
    void release() override;

    // The services tried, in order, by their bus names.
    static QStringList serviceNames();

private:
    void ask(int service);
    void answered(QDBusPendingCallWatcher* call, bool ending);
    void sendRelease(bool wait);

    bool wanted_ = false;
    QDBusPendingCallWatcher* pending_ = nullptr;
    int pendingService_ = 0;
    struct Held {
        int service;
        uint cookie;
    };
    std::optional<Held> held_;
};

// The inhibitor for this run: the D-Bus one when the run keeps the screen awake, else
// one that does nothing.
std::unique_ptr<ScreenInhibitor> makeScreenInhibitor(const RunMode& mode);

// For the runs that must not keep the screen awake.
class NoScreenInhibitor : public ScreenInhibitor {
public:
    void inhibit() override {}
    void release() override {}
};

} // namespace quillon
