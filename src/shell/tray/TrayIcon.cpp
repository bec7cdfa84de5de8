#include "shell/tray/TrayIcon.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

namespace vantor {

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {}

TrayIcon::~TrayIcon() { Remove(); }

bool TrayIcon::Create(const QString& tip, const QIcon& icon, int id, bool requireHost) {
    Remove();
    if (requireHost && !QSystemTrayIcon::isSystemTrayAvailable()) return false;

    m_id = id;
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

    m_icon = std::make_unique<QSystemTrayIcon>(icon);
    m_icon->setToolTip(tip);
    m_icon->setContextMenu(m_menu.get());
    connect(m_icon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick) OnDoubleClick();
                // A single click only marks itself pending; nothing acts on it.
            });
    m_icon->show();
    m_iconCode = 128;
    m_valid = true;
    return true;
}

void TrayIcon::Remove() {
    if (!m_valid) return;
    m_icon->hide();
    m_icon.reset();
    m_menu.reset();
    m_valid = false;
}

void TrayIcon::SetIconResource(int code) {
    if (!m_valid) return;
    m_iconCode = code;
    if (m_iconSource) m_icon->setIcon(m_iconSource(code));
}

void TrayIcon::SetTip(const QString& tip) {
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
