#include "shell/tray/XTraySelection.h"

#include <QtGui/qguiapplication_platform.h>
#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdlib>
#include <memory>

namespace vantor {

namespace {

// The screen of $DISPLAY (":0.1" is screen 1), which names the selection.
int ScreenOfDisplay() {
    const QByteArray display = qgetenv("DISPLAY");
    const int colon = display.lastIndexOf(':');
    const int dot = display.indexOf('.', colon < 0 ? 0 : colon);
    return dot < 0 ? 0 : display.mid(dot + 1).toInt();
}

}  // namespace

XTraySelection::XTraySelection(QObject* parent) : QObject(parent) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (connection == nullptr)
        return;

    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(connection, &xcb_xfixes_id);
    if (xfixes == nullptr || !xfixes->present)
        return;
    // A client states the XFixes version it speaks before it asks for selection events.
    std::free(xcb_xfixes_query_version_reply(connection, xcb_xfixes_query_version(connection, 5, 0),
                                             nullptr));

    int screenNumber = ScreenOfDisplay();
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (; screenNumber > 0 && screens.rem > 1; --screenNumber) xcb_screen_next(&screens);
    if (screens.data == nullptr)
        return;

    const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(ScreenOfDisplay());
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, name.size(), name.constData()), nullptr),
        &std::free);
    if (!atom)
        return;

    m_connection = connection;
    m_selection = atom->atom;
    m_notifyEvent = xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY;
    xcb_xfixes_select_selection_input(connection, screens.data->root, m_selection,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(connection);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

XTraySelection::~XTraySelection() {
    if (m_connection && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool XTraySelection::HasOwner() const {
    if (m_connection == nullptr)
        return false;
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> reply(
        xcb_get_selection_owner_reply(m_connection,
                                      xcb_get_selection_owner(m_connection, m_selection), nullptr),
        &std::free);
    return reply && reply->owner != XCB_NONE;
}

bool XTraySelection::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != m_notifyEvent)
        return false;
    const auto* notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(event);
    if (notify->selection != m_selection)
        return false;
    emit OwnerChanged(notify->owner != XCB_NONE);
    return false;  // Qt sees it too
}

}  // namespace vantor
