#include "shell/tray/TrayHostWatch.h"

#include "shell/tray/XTraySelection.h"

#ifdef VANTOR_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusServiceWatcher>
#include <QVariant>
#endif

namespace vantor {

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

}  // namespace

TrayHostWatch::TrayHostWatch(QObject* parent) : QObject(parent) {
    m_xSelection = new XTraySelection(this);
    connect(m_xSelection, &XTraySelection::OwnerChanged, this, [this](bool owned) {
        if (owned)
            emit HostAppeared(false);
    });
#ifdef VANTOR_HAVE_DBUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    auto* watcher = new QDBusServiceWatcher(kWatcherService, bus,
                                            QDBusServiceWatcher::WatchForRegistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this,
            &TrayHostWatch::OnWatcherRegistered);
    // A host registers with the watcher after the watcher's name appears.
    bus.connect(kWatcherService, kWatcherPath, kWatcherService,
                QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(OnHostRegistered()));
#endif
}

TrayHostWatch::~TrayHostWatch() = default;

bool TrayHostWatch::HostPresent() const {
    return StatusNotifierHostPresent() || m_xSelection->HasOwner();
}

bool TrayHostWatch::StatusNotifierHostPresent() const {
#ifdef VANTOR_HAVE_DBUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kWatcherService))
        return false;
    QDBusInterface watcher(kWatcherService, kWatcherPath, kWatcherService, bus);
    return watcher.property("IsStatusNotifierHostRegistered").toBool();
#else
    return false;
#endif
}

void TrayHostWatch::OnWatcherRegistered() {
    // A watcher that already has its host (it was started after the host) is a tray at once.
    if (StatusNotifierHostPresent())
        emit HostAppeared(true);
}

void TrayHostWatch::OnHostRegistered() {
    emit HostAppeared(true);
}

}  // namespace vantor
