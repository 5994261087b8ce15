// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/X11KeyboardLayout.h"

#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace Hotkeys {

std::unique_ptr<KeyboardLayout> keyboardLayoutFromX11(xcb_connection_t *connection)
{
    if (!connection
        || !xkb_x11_setup_xkb_extension(
            connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr)) {
        return nullptr;
    }
    const int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
    xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    xkb_keymap *keymap = device < 0 || !context
        ? nullptr
        : xkb_x11_keymap_new_from_device(context, connection, device, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (!keymap) {
        xkb_context_unref(context);
        return nullptr;
    }
    xkb_state *state = xkb_x11_state_new_from_device(keymap, connection, device);
    const quint32 group = state ? xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE) : 0;
    xkb_state_unref(state);
    return KeyboardLayout::fromKeymap(context, keymap, group);
}

} // namespace Hotkeys
