// SPDX-License-Identifier: GPL-3.0-or-later
// Real grabs on a real X server: xdotool types while another client has focus.
#include "hotkeys/Hotkeys.h"
#include "model/Preferences.h"
#include "platform/x11/X11HotkeyBackend.h"

#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace Hotkeys;
namespace M = Hotkeys::Modifiers;

namespace {

const Shortcut kToggle(Key::space, M::kCommand | M::kShift);

bool run(const QString &program, const QStringList &arguments)
{
    return QProcess::execute(program, arguments) == 0;
}

bool xdotool(const QStringList &arguments)
{
    return run(QStringLiteral("xdotool"), arguments);
}

// Lets the X events that the keys caused reach the event loop.
void settle(int milliseconds = 150)
{
    QTest::qWait(milliseconds);
}

struct X11HotkeysTest : ::testing::Test
{
    static void SetUpTestSuite()
    {
        // Another client's window has the focus, as when Binzo is summoned from elsewhere.
        s_focus = new QProcess;
        s_focus->start(QStringLiteral("xmessage"), {"-name", "focus-holder", "another app"});
        ASSERT_TRUE(s_focus->waitForStarted());
        ASSERT_TRUE(xdotool(
            {"search", "--sync", "--classname", "focus-holder", "windowactivate", "--sync"}));
    }
    static void TearDownTestSuite()
    {
        s_focus->kill();
        s_focus->waitForFinished();
        delete s_focus;
    }

    void SetUp() override
    {
        std::unique_ptr<X11HotkeyBackend> backend = X11HotkeyBackend::create();
        ASSERT_TRUE(backend);
        hotkeys = std::make_unique<Registry>(prefs, std::move(backend));
        // The name is made once per process; each test starts from its default again.
        hotkeys->reset({Name::togglePanel()});
        hotkeys->onKeyDown(Name::togglePanel(), [this] { ++downs; });
        hotkeys->onKeyUp(Name::togglePanel(), [this] { ++ups; });
        ASSERT_EQ(hotkeys->shortcut(Name::togglePanel()), kToggle);
    }

    // Waits for the release to arrive when the press should fire, so a loaded machine only
    // makes the test slower; a press that must not fire gets a fixed time to show up.
    void pressToggle(bool shouldFire = true)
    {
        const int upsBefore = ups;
        ASSERT_TRUE(xdotool({"key", "ctrl+shift+space"}));
        if (shouldFire) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return ups > upsBefore; }, 3000));
        }
        settle();
    }

    static inline QProcess *s_focus = nullptr;
    QTemporaryDir dir;
    Preferences prefs {dir.filePath("preferences.json")};
    std::unique_ptr<Registry> hotkeys;
    int downs = 0;
    int ups = 0;
};

TEST_F(X11HotkeysTest, TheDefaultShortcutFiresOnceFromAnotherClientsFocus)
{
    pressToggle();
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
    ASSERT_TRUE(xdotool({"key", "ctrl+space", "shift+space", "ctrl+alt+shift+space"}));
    settle();
    EXPECT_EQ(downs, 1);
}

TEST_F(X11HotkeysTest, LockKeysDoNotStopIt)
{
    for (const char *lock : {"Num_Lock", "Caps_Lock", "Num_Lock"}) {
        ASSERT_TRUE(xdotool({"key", lock}));
        pressToggle();
    }
    ASSERT_TRUE(xdotool({"key", "Caps_Lock"}));
    EXPECT_EQ(downs, 3);
}

TEST_F(X11HotkeysTest, AHeldKeyFiresOnce)
{
    ASSERT_TRUE(xdotool({"keydown", "ctrl+shift+space"}));
    // Longer than the auto-repeat delay, so the server repeats the key.
    settle(1200);
    ASSERT_TRUE(xdotool({"keyup", "space"}));
    ASSERT_TRUE(xdotool({"keyup", "ctrl+shift"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ups > 0; }, 3000));
    settle();
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
}

TEST_F(X11HotkeysTest, ItFiresWhileOneOfOurMenusHoldsTheKeyboard)
{
    QMenu menu;
    menu.addAction(QStringLiteral("Open Binzo"));
    menu.addAction(QStringLiteral("Quit Binzo"));
    menu.popup(QPoint(200, 200));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    settle();
    pressToggle();
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
    EXPECT_TRUE(menu.isVisible());

    menu.hide();
    settle();
    pressToggle();
    EXPECT_EQ(downs, 2);
}

// Registering it fails, told and logged with its code (10), in the failure scenario's real app.
TEST_F(X11HotkeysTest, ACombinationAnotherClientHoldsIsSeen)
{
    QProcess holder;
    holder.start(QStringLiteral(BINZO_HOLD_GRAB), {"45", "12"}); // Ctrl+Alt+K
    ASSERT_TRUE(holder.waitForReadyRead(5000));
    EXPECT_TRUE(hotkeys->backend()->isHeldElsewhere(Shortcut(Key::k, M::kCommand | M::kOption)));
    EXPECT_FALSE(hotkeys->backend()->isHeldElsewhere(kToggle));
    holder.kill();
    holder.waitForFinished();
}

TEST_F(X11HotkeysTest, ALayoutChangeKeepsItLiveAndChangesKeyTexts)
{
    EXPECT_EQ(Shortcut(Key::y, M::kCommand).description(), "Ctrl+Y");
    ASSERT_TRUE(run("setxkbmap", {"de"}));
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return Shortcut(Key::y, M::kCommand).description() == "Ctrl+Z"; }, 3000));
    pressToggle();
    ASSERT_TRUE(run("setxkbmap", {"us"}));
    settle();
    pressToggle();
    EXPECT_EQ(downs, 2);
}

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
