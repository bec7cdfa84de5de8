#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QMenu;
class QSystemTrayIcon;

namespace vantor {

class TrayHostWatch;

// The program's icon in the notification area, with its pop-up menu Open / About / Exit
// (commands 32771, 32773, 32774). The menu is retitled by the menu callback each time it pops
// up, and the default item (Open unless set) is bold. A double click issues the default item's
// command. Without a tray the icon waits, invalid, for one to start (TrayHostWatch) and is
// added then, with the tip and state picture set meanwhile; the program runs on without it.
class TrayIcon : public QObject {
    Q_OBJECT

public:
    static constexpr int kCommandOpen = 32771;
    static constexpr int kCommandAbout = 32773;
    static constexpr int kCommandExit = 32774;

    using IconSource = std::function<QIcon(int code)>;
    using MenuCallback = std::function<void(QMenu* menu)>;

    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    // Adds the icon. False when there is no tray yet: the icon is then added as soon as one
    // starts. `requireHost` false adds it at once, which tests use to exercise it offscreen.
    bool Create(const QString& tip, const QIcon& icon, int id = 140, bool requireHost = true);
    // Removes the icon, and stops waiting for a tray.
    void Remove();
    bool IsValid() const { return m_valid; }
    // Created, with no tray to show it in yet.
    bool IsWaitingForTray() const { return m_waiting; }

    // The pictures of the state codes (128, 141, 142).
    void SetIconSource(IconSource source) { m_iconSource = std::move(source); }
    // Replaces the picture with the one of the code; while waiting for a tray, the picture the
    // icon will have.
    void SetIconResource(int code);
    int IconResource() const { return m_iconCode; }
    void SetTip(const QString& tip);
    void SetSingleClickCommand(int command) { m_singleClickCommand = command; }
    // 0 = the first item.
    void SetDefaultMenuItem(int command) { m_defaultItem = command; }
    void SetMenuCallback(MenuCallback callback) { m_menuCallback = std::move(callback); }

    // The pop-up menu (its actions carry their command id as data); null when invalid.
    QMenu* Menu() const { return m_menu.get(); }
    QSystemTrayIcon* Icon() const { return m_icon.get(); }

    // What the menu does before it shows: retitle, then make the default item bold.
    void PrepareMenu();
    // What a double click on the icon does.
    void OnDoubleClick();

signals:
    // A command chosen from the menu or by a double click, for the owner window.
    void Command(int command);

private:
    int DefaultCommand() const;
    // Makes the menu and the icon and shows them.
    void Show();

    std::unique_ptr<TrayHostWatch> m_hostWatch;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::unique_ptr<QMenu> m_menu;
    bool m_valid = false;
    bool m_waiting = false;
    QString m_tip;
    QIcon m_createIcon;
    int m_id = 0;
    int m_iconCode = 0;
    int m_singleClickCommand = 0;
    int m_defaultItem = 0;
    IconSource m_iconSource;
    MenuCallback m_menuCallback;
};

}  // namespace vantor
