#include "shell/tray/TrayIcon.h"

#include "shell/tray/TrayHostWatch.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

namespace vantor {

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {}

TrayIcon::~TrayIcon() { Remove(); }

bool TrayIcon::Create(const QString& tip, const QIcon& icon, int id, bool requireHost) {
    Remove();
    m_id = id;
    m_tip = tip;
    m_createIcon = icon;
    m_iconCode = 128;
    if (requireHost) {
        // Qt settles, once per process, whether it talks to a StatusNotifier host or an X
        // tray when its first tray icon is made; so none is made before a tray is there.
        if (!m_hostWatch) {
            m_hostWatch = std::make_unique<TrayHostWatch>();
            connect(m_hostWatch.get(), &TrayHostWatch::HostAppeared, this, [this](bool statusNotifier) {
                if (m_waiting) {
                    Show();
                } else if (m_valid && statusNotifier) {
                    // A restarted StatusNotifier host: the icon is offered to it anew. Qt's own
                    // offer can come before the new watcher serves its object, and is then
                    // lost. (Qt docks the icon in a restarted X tray by itself.)
                    m_icon->hide();
                    m_icon->show();
                }
            });
        }
        if (!m_hostWatch->HostPresent()) {
            m_waiting = true;
            return false;
        }
    }
    Show();
    return true;
}

void TrayIcon::Show() {
    m_waiting = false;
    m_menu = std::make_unique<QMenu>();
    // The template texts; PrepareMenu retitles them from the language file.
    const std::pair<int, QString> items[] = {{kCommandOpen, QStringLiteral("&Open")},
                                             {kCommandAbout, QStringLiteral("&About")},
                                             {kCommandExit, QStringLiteral("E&xit")}};
    for (const auto& [command, text] : items) {
        QAction* action = m_menu->addAction(text);
        action->setData(command);
        connect(action, &QAction::triggered, this, [this, id = command] { emit Command(id); });
    }
    connect(m_menu.get(), &QMenu::aboutToShow, this, &TrayIcon::PrepareMenu);

    // A state set while waiting for the tray shows at once.
    m_icon = std::make_unique<QSystemTrayIcon>(
        m_iconCode != 128 && m_iconSource ? m_iconSource(m_iconCode) : m_createIcon);
    m_icon->setToolTip(m_tip);
    m_icon->setContextMenu(m_menu.get());
    connect(m_icon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick) OnDoubleClick();
                // A single click only marks itself pending; nothing acts on it.
            });
    m_icon->show();
    m_valid = true;
}

void TrayIcon::Remove() {
    m_waiting = false;
    if (!m_valid) return;
    m_icon->hide();
    // Exit is chosen from this very menu: it and the icon go once their signals are done.
    m_icon.release()->deleteLater();
    m_menu.release()->deleteLater();
    m_valid = false;
}

void TrayIcon::SetIconResource(int code) {
    if (!m_valid && !m_waiting) return;
    m_iconCode = code;
    if (m_valid && m_iconSource) m_icon->setIcon(m_iconSource(code));
}

void TrayIcon::SetTip(const QString& tip) {
    m_tip = tip;
    if (m_valid) m_icon->setToolTip(tip);
}

int TrayIcon::DefaultCommand() const {
    if (m_defaultItem != 0) return m_defaultItem;
    const QList<QAction*> actions = m_menu->actions();
    return actions.isEmpty() ? 0 : actions.first()->data().toInt();
}

void TrayIcon::PrepareMenu() {
    if (!m_valid) return;
    if (m_menuCallback) m_menuCallback(m_menu.get());
    const int defaultCommand = DefaultCommand();
    for (QAction* action : m_menu->actions()) {
        QFont font = action->font();
        font.setBold(action->data().toInt() == defaultCommand);
        action->setFont(font);
    }
}

void TrayIcon::OnDoubleClick() {
    if (!m_valid) return;
    const int command = DefaultCommand();
    if (command != 0) emit Command(command);
}

}  // namespace vantor
