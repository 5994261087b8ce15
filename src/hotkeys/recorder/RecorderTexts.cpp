// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/recorder/RecorderTexts.h"

#include "hotkeys/HotkeyBackend.h"

#include <QCoreApplication>

#include <cstring>

namespace Hotkeys {

namespace {

struct Text
{
    const char *key;
    const char *english;
};

// Marked for Qt's translation tools under the "Hotkeys" context.
constexpr Text kTexts[] = {
    {"record_shortcut", QT_TRANSLATE_NOOP("Hotkeys", "Record Shortcut")},
    {"press_shortcut", QT_TRANSLATE_NOOP("Hotkeys", "Press Shortcut")},
    {"keyboard_shortcut_used_by_menu_item",
     QT_TRANSLATE_NOOP("Hotkeys",
                       "This keyboard shortcut cannot be used because the “%1” "
                       "menu item already uses it.")},
    {"keyboard_shortcut_used_by_system",
     QT_TRANSLATE_NOOP("Hotkeys",
                       "This keyboard shortcut cannot be used because it is "
                       "already a system-wide keyboard shortcut.")},
    {"keyboard_shortcuts_can_be_changed",
     QT_TRANSLATE_NOOP("Hotkeys",
                       "Most system-wide keyboard shortcuts can be changed in "
                       "your desktop's keyboard settings.")},
    {"ok", QT_TRANSLATE_NOOP("Hotkeys", "OK")},
    {"force_use_shortcut", QT_TRANSLATE_NOOP("Hotkeys", "Use Anyway")},
};

} // namespace

QString recorderText(const char *key)
{
    for (const Text &text : kTexts) {
        if (std::strcmp(text.key, key) == 0)
            return QCoreApplication::translate("Hotkeys", text.english);
    }
    return QString::fromLatin1(key);
}

QString registrationFailureText(const Shortcut &shortcut, int status)
{
    if (status == HotkeyBackend::kHeldElsewhere)
        return QCoreApplication::translate("Hotkeys", "%1 is used by another program.")
            .arg(shortcut.description());
    return QCoreApplication::translate("Hotkeys",
                                       "%1 cannot be used as a shortcut here (error %2).")
        .arg(shortcut.description())
        .arg(status);
}

} // namespace Hotkeys
