#include "app/window_activation.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <cstring>

namespace rpn {

namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// The window takes the start's id, from which the window manager learns when
// the user asked and activates the window as it would a new one; then the
// start's launch feedback ends, in 20-byte pieces of the message and its NUL.
void UseStartupId(xcb_connection_t* connection, xcb_window_t window, const std::string& id)
{
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, Atom(connection, "_NET_STARTUP_ID"),
                        Atom(connection, "UTF8_STRING"), 8, static_cast<std::uint32_t>(id.size()), id.data());
    const std::string message = "remove: ID=" + id;
    const xcb_atom_t more = Atom(connection, "_NET_STARTUP_INFO");
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 8;
    event.window = window;
    event.type = Atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    for (std::size_t at = 0; at <= message.size(); at += sizeof event.data.data8) {
        std::memset(event.data.data8, 0, sizeof event.data.data8);
        message.copy(reinterpret_cast<char*>(event.data.data8), sizeof event.data.data8, at);
        xcb_send_event(connection, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE, reinterpret_cast<const char*>(&event));
        event.type = more;
    }
    xcb_flush(connection);
}

}  // namespace

void BringToFront(QWidget& window, const std::string& startupId, const std::string& activationToken)
{
    window.show();
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 != nullptr && !startupId.empty())
        UseStartupId(x11->connection(), static_cast<xcb_window_t>(window.winId()), startupId);
    // Qt's Wayland plugin takes the token from here when it activates a
    // window, and clears it; a compositor without activation leaves it.
    if (!activationToken.empty() && QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        qputenv("XDG_ACTIVATION_TOKEN", QByteArray::fromStdString(activationToken));
    window.raise();
    window.activateWindow();
    qunsetenv("XDG_ACTIVATION_TOKEN");
}

}  // namespace rpn
