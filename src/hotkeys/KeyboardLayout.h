// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>
#include <optional>

struct xkb_context;
struct xkb_keymap;

namespace Hotkeys {

// The characters of the keys under one keyboard layout (an xkbcommon keymap and its active
// group), read unshifted.
class KeyboardLayout
{
public:
    ~KeyboardLayout();
    KeyboardLayout(const KeyboardLayout &) = delete;
    KeyboardLayout &operator=(const KeyboardLayout &) = delete;

    // A keymap read elsewhere (the X server's: platform/x11) and its active group; takes over
    // both references.
    static std::unique_ptr<KeyboardLayout> fromKeymap(xkb_context *context, xkb_keymap *keymap,
                                                      quint32 group);
    // A layout compiled from names ("us", "de"…); empty names take xkbcommon's defaults
    // (XKB_DEFAULT_LAYOUT or "us").
    static std::unique_ptr<KeyboardLayout> fromNames(const QString &layout = {},
                                                     const QString &variant = {});

    // The one printable character the key gives with no modifier, if it gives exactly one.
    std::optional<QString> character(quint32 x11Keycode) const;

    // The key that types an X keysym, and whether Shift is needed for it; absent when no key
    // of the layout types it without further modifiers.
    struct KeyPress
    {
        quint32 x11Keycode;
        bool shift;
    };
    std::optional<KeyPress> keyForKeysym(quint32 keysym) const;

private:
    KeyboardLayout(xkb_context *context, xkb_keymap *keymap, quint32 group);

    xkb_context *m_context;
    xkb_keymap *m_keymap;
    quint32 m_group;
};

// The layout used for key characters: set by the platform's backend, otherwise built from names on
// first use. Null only when xkbcommon has no keyboard data at all.
const KeyboardLayout *currentKeyboardLayout();
void setCurrentKeyboardLayout(std::unique_ptr<KeyboardLayout> layout);

} // namespace Hotkeys
