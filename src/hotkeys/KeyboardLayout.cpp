// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/KeyboardLayout.h"

#include <xkbcommon/xkbcommon.h>

namespace Hotkeys {

namespace {

std::unique_ptr<KeyboardLayout> &current()
{
    static std::unique_ptr<KeyboardLayout> layout;
    return layout;
}

} // namespace

KeyboardLayout::KeyboardLayout(xkb_context *context, xkb_keymap *keymap, quint32 group)
    : m_context(context)
    , m_keymap(keymap)
    , m_group(group)
{ }

KeyboardLayout::~KeyboardLayout()
{
    xkb_keymap_unref(m_keymap);
    xkb_context_unref(m_context);
}

std::unique_ptr<KeyboardLayout> KeyboardLayout::fromKeymap(xkb_context *context, xkb_keymap *keymap,
                                                           quint32 group)
{
    return std::unique_ptr<KeyboardLayout>(new KeyboardLayout(context, keymap, group));
}

std::unique_ptr<KeyboardLayout> KeyboardLayout::fromNames(const QString &layout,
                                                          const QString &variant)
{
    xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (!context)
        return nullptr;
    const QByteArray layoutName = layout.toUtf8();
    const QByteArray variantName = variant.toUtf8();
    xkb_rule_names names {};
    names.layout = layout.isEmpty() ? nullptr : layoutName.constData();
    names.variant = variant.isEmpty() ? nullptr : variantName.constData();
    xkb_keymap *keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (!keymap) {
        xkb_context_unref(context);
        return nullptr;
    }
    return std::unique_ptr<KeyboardLayout>(new KeyboardLayout(context, keymap, 0));
}

std::optional<QString> KeyboardLayout::character(quint32 x11Keycode) const
{
    const xkb_keysym_t *symbols = nullptr;
    const int count = xkb_keymap_key_get_syms_by_level(m_keymap, x11Keycode, m_group, 0, &symbols);
    if (count != 1)
        return std::nullopt;
    const char32_t codePoint = xkb_keysym_to_utf32(symbols[0]);
    // Control characters (Return, Tab, Escape…) are not something a key shows.
    if (codePoint < 0x20 || codePoint == 0x7f || (codePoint >= 0x80 && codePoint < 0xa0))
        return std::nullopt;
    return QString::fromUcs4(&codePoint, 1);
}

std::optional<KeyboardLayout::KeyPress> KeyboardLayout::keyForKeysym(quint32 keysym) const
{
    const xkb_keycode_t first = xkb_keymap_min_keycode(m_keymap);
    const xkb_keycode_t last = xkb_keymap_max_keycode(m_keymap);
    // Unshifted anywhere wins over shifted: "1" is the key marked 1, not Shift with another.
    for (xkb_level_index_t level = 0; level < 2; ++level) {
        for (xkb_keycode_t keycode = first; keycode <= last; ++keycode) {
            const xkb_keysym_t *symbols = nullptr;
            const int count
                = xkb_keymap_key_get_syms_by_level(m_keymap, keycode, m_group, level, &symbols);
            for (int i = 0; i < count; ++i) {
                if (symbols[i] == keysym)
                    return KeyPress {keycode, level == 1};
            }
        }
    }
    return std::nullopt;
}

const KeyboardLayout *currentKeyboardLayout()
{
    std::unique_ptr<KeyboardLayout> &layout = current();
    if (!layout)
        layout = KeyboardLayout::fromNames();
    return layout.get();
}

void setCurrentKeyboardLayout(std::unique_ptr<KeyboardLayout> layout)
{
    current() = std::move(layout);
}

} // namespace Hotkeys
