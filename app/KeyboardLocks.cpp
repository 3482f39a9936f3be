#include "app/KeyboardLocks.h"

#include <xcb/xcb.h>
#include <QGuiApplication>
#include <cstdlib>

KeyboardLocks ReadKeyboardLocks()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) {
        return {};
    }
    xcb_connection_t* connection = x11->connection();
    xcb_get_keyboard_control_reply_t* reply =
        xcb_get_keyboard_control_reply(connection, xcb_get_keyboard_control(connection), nullptr);
    if (!reply) {
        return {};
    }
    // The keyboard's indicator lights: 1 Caps Lock, 2 Num Lock, 3 Scroll Lock.
    KeyboardLocks locks{(reply->led_mask & 1u) != 0, (reply->led_mask & 2u) != 0,
                        (reply->led_mask & 4u) != 0};
    std::free(reply);
    return locks;
}
