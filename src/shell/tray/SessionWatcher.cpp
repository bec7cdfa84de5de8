#include "shell/tray/SessionWatcher.h"

#ifdef VANTOR_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>

#include <unistd.h>
#endif

namespace vantor {

SessionWatcher::SessionWatcher(QObject* parent) : QObject(parent) {}

bool SessionWatcher::Start() {
#ifdef VANTOR_HAVE_DBUS
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) return false;
    const QString service = QStringLiteral("org.freedesktop.login1");
    QDBusInterface manager(service, QStringLiteral("/org/freedesktop/login1"),
                           QStringLiteral("org.freedesktop.login1.Manager"), bus);
    const QDBusReply<QDBusObjectPath> session =
        manager.call(QStringLiteral("GetSessionByPID"), quint32(::getpid()));
    if (!session.isValid()) return false;
    const QString path = session.value().path();
    const QString interface = QStringLiteral("org.freedesktop.login1.Session");
    const bool lock = bus.connect(service, path, interface, QStringLiteral("Lock"), this,
                                  SLOT(OnLock()));
    const bool unlock = bus.connect(service, path, interface, QStringLiteral("Unlock"), this,
                                    SLOT(OnUnlock()));
    return lock && unlock;
#else
    return false;
#endif
}

void SessionWatcher::OnLock() {
    m_state.OnSessionEvent(static_cast<int>(SessionState::Event::Lock));
}

void SessionWatcher::OnUnlock() {
    m_state.OnSessionEvent(static_cast<int>(SessionState::Event::Unlock));
}

}  // namespace vantor
