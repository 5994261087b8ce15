// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "hotkeys/DesktopShortcuts.h"
#include "hotkeys/KeyboardLayout.h"

#include <gtest/gtest.h>

using namespace Hotkeys;
using namespace Hotkeys::DesktopShortcuts;

namespace {

constexpr auto kCtrl = Modifiers::kCommand;
constexpr auto kSuper = Modifiers::kControl;
constexpr auto kAlt = Modifiers::kOption;
constexpr auto kShift = Modifiers::kShift;

// Keysyms written out, as a desktop's file would name them.
constexpr quint32 kSpace = 0x20, kT = 't', kS = 's', kComma = ',', kF4 = 0xffc1, kPrint = 0xff61,
                  kTab = 0xff09, kNext = 0xff56;

TEST(DesktopShortcuts, GtkAccelerators)
{
    const struct
    {
        const char *text;
        std::optional<Accelerator> expected;
    } cases[] = {
        {"<Super>space", Accelerator {kSuper, kSpace}},
        {"<Primary><Shift>s", Accelerator {kCtrl | kShift, kS}},
        {"<Control><Alt>t", Accelerator {kCtrl | kAlt, kT}},
        {"<Ctrl><Alt>T", Accelerator {kCtrl | kAlt, kT}}, // a capital names the key
        {"<Alt>F4", Accelerator {kAlt, kF4}},
        {"Print", Accelerator {0, kPrint}},
        {"<Shift><Super>Next", Accelerator {kShift | kSuper, kNext}},
        {"", std::nullopt},
        {"disabled", std::nullopt},
        {"<Super>Above_Tab", std::nullopt}, // mutter's own name, no keysym
        {"<Hyper>a", std::nullopt}, // a modifier Binzo cannot register
    };
    for (const auto &c : cases)
        EXPECT_EQ(fromGtk(QString::fromLatin1(c.text)), c.expected) << c.text;
}

TEST(DesktopShortcuts, KdeGlobalShortcuts)
{
    const QString config = QStringLiteral(R"([kwin]
_k_friendly_name=KWin
Walk Through Windows=Alt+Tab\tMeta+Tab,Alt+Tab,Walk Through Windows
Window Close=Alt+F4,Alt+F4,Close Window
Kill Window=none,Meta+Ctrl+Esc,Kill Window

[org.kde.krunner.desktop]
_launch=Meta+Space\tAlt+F2,Alt+Space,KRunner
Open Settings=Meta+\,,none,Settings
)");
    const QList<Accelerator> expected = {
        {kAlt, kTab},     {kSuper, kTab},          {kAlt, kF4},
        {kSuper, kSpace}, {kAlt, 0xffbf /* F2 */}, {kSuper, kComma},
    };
    EXPECT_EQ(fromKdeConfig(config), expected);
}

TEST(DesktopShortcuts, XfceCustomSetWinsOverTheDefaults)
{
    const QByteArray channel = R"(<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-keyboard-shortcuts" version="1.0">
  <property name="commands" type="empty">
    <property name="default" type="empty">
      <property name="&lt;Alt&gt;F2" type="string" value="xfce4-appfinder"/>
    </property>
    <property name="custom" type="empty">
      <property name="&lt;Primary&gt;&lt;Alt&gt;t" type="string" value="exo-open --launch TerminalEmulator"/>
      <property name="override" type="bool" value="true"/>
    </property>
  </property>
  <property name="xfwm4" type="empty">
    <property name="custom" type="empty">
      <property name="&lt;Alt&gt;F4" type="string" value="close_window_key"/>
      <property name="&lt;Super&gt;Tab" type="string" value=""/>
    </property>
  </property>
</channel>)";
    const QList<Accelerator> expected = {{kCtrl | kAlt, kT}, {kAlt, kF4}};
    EXPECT_EQ(fromXfceChannel(channel), expected);
    EXPECT_TRUE(fromXfceChannel("not xml").isEmpty());
}

TEST(DesktopShortcuts, AcceleratorsBecomeStoredShortcutsUnderTheLayout)
{
    const std::unique_ptr<KeyboardLayout> us = KeyboardLayout::fromNames("us");
    ASSERT_TRUE(us);
    const QList<Shortcut> shortcuts = toShortcuts(
        {{kSuper, kSpace}, {kCtrl | kShift, kS}, {0, '!'}, {kAlt, 0x20ac /* no € key */}}, *us);
    const QList<Shortcut> expected = {
        Shortcut(Key::space, kSuper), Shortcut(Key::s, kCtrl | kShift),
        Shortcut(Key::one, kShift), // "!" is Shift with the key marked 1
    };
    EXPECT_EQ(shortcuts, expected);
}

// The desktop named by XDG_CURRENT_DESKTOP is asked, where its settings live; GNOME's are
// its schema defaults here (GSettings' memory backend).
TEST(DesktopShortcuts, TheRunningDesktopIsAsked)
{
    TestEnvironment environment;
    const QString config = environment.configHome();
    ASSERT_TRUE(writeFile(config + "/kglobalshortcutsrc",
                          "[kwin]\nExpose=Ctrl+F9,Ctrl+F9,Toggle Present Windows\n"));
    ASSERT_TRUE(
        writeFile(config + "/xfce4/xfconf/xfce-perchannel-xml/xfce4-keyboard-shortcuts.xml",
                  "<channel><property name=\"commands\"><property name=\"custom\"><property "
                  "name=\"&lt;Super&gt;e\" type=\"string\" value=\"thunar\"/></property></property>"
                  "</channel>"));
    qputenv("GSETTINGS_BACKEND", "memory");
    const struct
    {
        const char *desktop;
        std::optional<Shortcut> listed;
    } cases[] = {
        {"KDE", Shortcut(Key::f9, kCtrl)},
        {"XFCE", Shortcut(Key::e, kSuper)},
        {"ubuntu:GNOME", Shortcut(Key::f4, kAlt)}, // close window
        {"LXQt", std::nullopt},
    };
    for (const auto &c : cases) {
        qputenv("XDG_CURRENT_DESKTOP", c.desktop);
        const QList<Shortcut> shortcuts = read();
        if (c.listed)
            EXPECT_TRUE(shortcuts.contains(*c.listed)) << c.desktop;
        else
            EXPECT_TRUE(shortcuts.isEmpty()) << c.desktop;
    }
    qunsetenv("XDG_CURRENT_DESKTOP");
}

} // namespace
