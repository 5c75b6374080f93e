#include "platform/desktop/screen_inhibitor.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <iterator>

namespace quillon {

namespace {

struct Service {
    const char* name;
    const char* path;
    const char* inhibitMethod;
    const char* releaseMethod;
    bool sessionManager; // the session managers take a window and flags as well
};

// The freedesktop interface first: KDE, Xfce, LXQt and most screen savers offer it.
const Service Services[] = {
    {"org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver", "Inhibit", "UnInhibit", false},
    {"org.gnome.SessionManager", "/org/gnome/SessionManager", "Inhibit", "Uninhibit", true},
    {"org.mate.SessionManager", "/org/mate/SessionManager", "Inhibit", "Uninhibit", true},
};
constexpr int ServiceCount = static_cast<int>(std::size(Services));

// The session managers' flag for "do not mark the session idle".
constexpr uint InhibitIdle = 8;
// A desktop that has not answered by then is taken as absent.
constexpr int CallTimeoutMs = 1000;

const QString ApplicationName = QStringLiteral("Quillon");
// Shown by the desktop among what holds its screen saver off.
QString reason() {
    return QCoreApplication::translate("ScreenInhibitor", "サブタイトルを表示しています");
}

QDBusMessage methodCall(const Service& service, const char* method) {
    const QString name = QString::fromLatin1(service.name);
    return QDBusMessage::createMethodCall(name, QString::fromLatin1(service.path), name,
                                          QString::fromLatin1(method));
}

} // namespace

DBusScreenInhibitor::DBusScreenInhibitor() = default;

DBusScreenInhibitor::~DBusScreenInhibitor() {
    // The program is ending: whatever is held or about to be held is given back now,
    // while the bus is still there.
    wanted_ = false;
    if (pending_) {
        pending_->waitForFinished();
        answered(pending_, true);
    }
    if (held_)
        sendRelease(true);
}

QStringList DBusScreenInhibitor::serviceNames() {
    QStringList names;
    for (const Service& s : Services)
        names.append(QString::fromLatin1(s.name));
    return names;
}

void DBusScreenInhibitor::inhibit() {
    if (wanted_)
        return;
    wanted_ = true;
    // A call still under way, or one already held, serves the new card as well.
    if (!pending_ && !held_)
        ask(0);
}

void DBusScreenInhibitor::release() {
    wanted_ = false;
    if (held_)
        sendRelease(false);
}

void DBusScreenInhibitor::ask(int service) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (service >= ServiceCount || !bus.isConnected())
        return;
    const Service& s = Services[service];
    QDBusMessage call = methodCall(s, s.inhibitMethod);
    if (s.sessionManager)
        call << ApplicationName << uint(0) << reason() << InhibitIdle;
    else
        call << ApplicationName << reason();
    pendingService_ = service;
    pending_ = new QDBusPendingCallWatcher(bus.asyncCall(call, CallTimeoutMs), this);
    QObject::connect(pending_, &QDBusPendingCallWatcher::finished, this,
                     [this](QDBusPendingCallWatcher* w) { answered(w, false); });
}

void DBusScreenInhibitor::answered(QDBusPendingCallWatcher* call, bool ending) {
    if (call != pending_)
        return;
    pending_ = nullptr;
    call->deleteLater();
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError()) {
        if (wanted_)
            ask(pendingService_ + 1);
        return;
    }
    held_ = Held{pendingService_, reply.value()};
    if (!wanted_) // the card closed while the desktop was answering
        sendRelease(ending);
}

void DBusScreenInhibitor::sendRelease(bool wait) {
    const Service& s = Services[held_->service];
    QDBusMessage call = methodCall(s, s.releaseMethod);
    call << held_->cookie;
    held_.reset();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (wait)
        bus.call(call, QDBus::Block, CallTimeoutMs);
    else
        bus.asyncCall(call, CallTimeoutMs);
}

std::unique_ptr<ScreenInhibitor> makeScreenInhibitor(const RunMode& mode) {
    if (!mode.keepsScreenAwake())
        return std::make_unique<NoScreenInhibitor>();
    return std::make_unique<DBusScreenInhibitor>();
}

} // namespace quillon
