#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>

struct xcb_connection_t;

namespace vantor {

// The owner of the X system tray selection ("_NET_SYSTEM_TRAY_S<screen>"), which an XEmbed
// tray takes when it starts and loses when it ends. The X server tells the program of every
// change (XFixes selection notify, on Qt's own connection), so nothing is polled. Off X11 it
// does nothing and HasOwner() is false.
class XTraySelection : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    explicit XTraySelection(QObject* parent = nullptr);
    ~XTraySelection() override;

    bool IsWatching() const { return m_connection != nullptr; }
    // Asks the X server now.
    bool HasOwner() const;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    // A tray took the selection (true), or its owner went away (false).
    void OwnerChanged(bool owned);

private:
    xcb_connection_t* m_connection = nullptr;
    std::uint32_t m_selection = 0;
    std::uint8_t m_notifyEvent = 0;
};

}  // namespace vantor
