// SPDX-License-Identifier: GPL-3.0-or-later
// Another program holding a key combination: grabs it on the root window (with every lock-key
// state), prints "ready" and keeps it until killed.
//   hold_grab KEYCODE MODIFIER_MASK     e.g. 65 5 for Ctrl+Shift+Space
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: hold_grab KEYCODE MODIFIER_MASK\n");
        return 2;
    }
    const auto keycode = xcb_keycode_t(std::atoi(argv[1]));
    const auto modifiers = uint16_t(std::atoi(argv[2]));
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "hold_grab: no X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    for (uint16_t locks : {0, 2, 16, 18}) { // none, Lock, Mod2 (Num Lock), both
        xcb_grab_key(connection, false, root, modifiers | locks, keycode, XCB_GRAB_MODE_ASYNC,
                     XCB_GRAB_MODE_ASYNC);
    }
    // A round trip: the grabs are in place once it returns.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    std::puts("ready");
    std::fflush(stdout);
    while (xcb_generic_event_t *event = xcb_wait_for_event(connection))
        std::free(event);
    xcb_disconnect(connection);
    return 0;
}
