#pragma once

#include <QObject>

namespace vantor {

class XTraySelection;

// Watches for a tray that can show the icon: a StatusNotifier host (the watcher's name on the
// session bus, and its host registration) or an XEmbed tray (the owner of the X tray
// selection). Both are told by their bus or server; nothing is polled, so waiting costs nothing.
class TrayHostWatch : public QObject {
    Q_OBJECT

public:
    explicit TrayHostWatch(QObject* parent = nullptr);
    ~TrayHostWatch() override;

    // Whether a tray is there now (asks the bus and the X server).
    bool HostPresent() const;

signals:
    // A tray started (the first one, or a new one after the old went away); `statusNotifier`
    // tells a StatusNotifier host from an X tray.
    void HostAppeared(bool statusNotifier);

private slots:
    void OnWatcherRegistered();
    void OnHostRegistered();

private:
    bool StatusNotifierHostPresent() const;

    XTraySelection* m_xSelection = nullptr;
};

}  // namespace vantor
