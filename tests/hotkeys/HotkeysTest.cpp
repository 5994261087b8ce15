// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeHotkeyBackend.h"

#include "hotkeys/Hotkeys.h"
#include "model/Preferences.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QWindow>

#include <gtest/gtest.h>

using namespace Hotkeys;
namespace M = Hotkeys::Modifiers;

namespace {

const Shortcut kToggle(Key::space, M::kCommand | M::kShift);
const Shortcut kOther(Key::k, M::kCommand | M::kOption);

struct HotkeysTest : ::testing::Test
{
    HotkeysTest()
    {
        auto owned = std::make_unique<FakeHotkeyBackend>();
        fake = owned.get();
        hotkeys = std::make_unique<Registry>(prefs, std::move(owned));
    }

    // The application's name as the application adopts it.
    Name toggleName()
    {
        const Name name(QStringLiteral("togglePanel"), kToggle);
        hotkeys->adopt(name);
        return name;
    }
    QString stored(const Name &name) const { return prefs.string(name.storageKey()).value_or(""); }

    QTemporaryDir dir;
    Preferences prefs {dir.filePath("preferences.json")};
    FakeHotkeyBackend *fake = nullptr;
    std::unique_ptr<Registry> hotkeys;
    QObject context; // of the test's own connections to the notifier
};

TEST_F(HotkeysTest, AdoptingANameStoresItsDefaultOnlyWhenNothingIsStored)
{
    const Name name(QStringLiteral("togglePanel"), kToggle);
    EXPECT_FALSE(prefs.contains(name.storageKey())) << "a name alone writes nothing";
    hotkeys->adopt(name);
    EXPECT_EQ(stored(name), R"({"carbonKeyCode":49,"carbonModifiers":768})");
    EXPECT_TRUE(fake->isLive(kToggle));

    hotkeys->setShortcut(std::nullopt, name);
    EXPECT_TRUE(prefs.contains(name.storageKey()));
    EXPECT_EQ(hotkeys->shortcut(name), std::nullopt);

    // A cleared default stays cleared: the stored false is not replaced.
    const Name again = toggleName();
    EXPECT_EQ(hotkeys->shortcut(again), std::nullopt);
    EXPECT_FALSE(fake->isLive(kToggle));
}

TEST_F(HotkeysTest, ARefusedRegistrationIsLoggedToldAndKeepsNothing)
{
    fake->refused.insert(kOther, 10);
    const Name name(QStringLiteral("custom"));
    QList<Shortcut> told;
    QObject::connect(hotkeys->notifier(), &Notifier::registrationStatusDidChange, &context,
                     [&](const Shortcut &s) { told << s; });
    ::testing::internal::CaptureStdout();
    hotkeys->setShortcut(kOther, name);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "Error registering hotkey Ctrl+Alt+K: 10\n");
    EXPECT_TRUE(fake->live.empty());
    EXPECT_FALSE(hotkeys->isEnabled(name));
    EXPECT_EQ(hotkeys->registration(name).failure().code, 10);
    EXPECT_EQ(told, QList<Shortcut> {kOther});

    // The id is used up; storing another shortcut forgets the failure.
    hotkeys->setShortcut(kToggle, name);
    ASSERT_EQ(fake->live.size(), 1u);
    EXPECT_EQ(fake->live.begin()->first, 2u);
    EXPECT_TRUE(hotkeys->isEnabled(name));
    EXPECT_TRUE(hotkeys->registration(name));
}

TEST_F(HotkeysTest, ARegistrationLostToAKeyboardChangeIsToldOnceAndRetried)
{
    const Name name = toggleName();
    int told = 0;
    int calls = 0;
    hotkeys->onKeyDown(name, [&] { ++calls; });
    QObject::connect(hotkeys->notifier(), &Notifier::registrationStatusDidChange, &context,
                     [&] { ++told; });
    ::testing::internal::CaptureStdout();
    fake->loseEverything(10);
    EXPECT_FALSE(hotkeys->isEnabled(name));
    EXPECT_EQ(hotkeys->registration(name).failure().code, 10);
    // Every return to the normal state tries again, telling only a change.
    hotkeys->setDispatchPaused(true);
    hotkeys->setDispatchPaused(false);
    EXPECT_EQ(told, 1);
    fake->refused.clear();
    hotkeys->setDispatchPaused(true);
    hotkeys->setDispatchPaused(false);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(told, 2);
    EXPECT_TRUE(hotkeys->isEnabled(name));
    EXPECT_TRUE(fake->press(kToggle));
    EXPECT_EQ(calls, 1);
}

// A hand-edited text is failure_scenarios.sh's, told and replaced in the real app; here a
// stored true, which is neither a shortcut nor the false of a cleared one.
TEST_F(HotkeysTest, AnUnreadableStoredShortcutGivesWayToTheDefaultAndIsTold)
{
    prefs.setBoolean(toggleName().storageKey(), true);
    QList<QString> told;
    QObject::connect(hotkeys->notifier(), &Notifier::unreadableShortcutReplaced, &context,
                     [&](const Name &n) { told << n.rawValue(); });
    const Name name = toggleName();
    EXPECT_EQ(hotkeys->shortcut(name), kToggle);
    EXPECT_EQ(told, QList<QString> {name.rawValue()});
}

TEST_F(HotkeysTest, WhileAPopupIsOpenKeysAreMatchedInsideTheProcess)
{
    const Name name = toggleName();
    QStringList calls;
    hotkeys->onKeyDown(name, [&] { calls << "down"; });
    hotkeys->onKeyUp(name, [&] { calls << "up"; });

    QWindow popup;
    popup.setFlags(Qt::Popup);
    popup.show();
    // Our popup holds the keyboard: the system-wide registration is released meanwhile.
    EXPECT_FALSE(fake->isLive(kToggle));

    const auto send
        = [&](QEvent::Type type, quint32 keycode, Qt::KeyboardModifiers modifiers, bool repeat) {
              QKeyEvent event(type, Qt::Key_unknown, modifiers, keycode, 0, 0, {}, repeat);
              return QCoreApplication::sendEvent(&popup, &event) && event.isAccepted();
          };
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    send(QEvent::KeyPress, 65, ctrlShift, false);
    send(QEvent::KeyPress, 65, ctrlShift, true);
    // Modifiers let go first: the release still belongs to the combination.
    send(QEvent::KeyRelease, 65, Qt::NoModifier, false);
    send(QEvent::KeyPress, 38, ctrlShift, false); // Ctrl+Shift+A is nobody's
    EXPECT_EQ(calls, QStringList({"down", "up"}));

    popup.hide();
    EXPECT_TRUE(fake->isLive(kToggle));
    send(QEvent::KeyPress, 65, ctrlShift, false);
    EXPECT_EQ(calls.size(), 2);
}

} // namespace

namespace {

TEST(Session, AWaylandSessionRunsOnXWaylandAndSaysHowToBindTheShortcutOnce)
{
    const QByteArray savedSession = qgetenv("XDG_SESSION_TYPE");
    const QByteArray savedPlatform = qgetenv("QT_QPA_PLATFORM");
    qputenv("XDG_SESSION_TYPE", "wayland");
    qunsetenv("QT_QPA_PLATFORM");

    ::testing::internal::CaptureStderr();
    prepareSession();
    prepareSession();
    const std::string notice = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "xcb");
    EXPECT_NE(notice.find("binzo binzo://open"), std::string::npos);
    EXPECT_EQ(notice.find("binzo://open"), notice.rfind("binzo://open"));

    for (const auto &[name, value] :
         {std::pair {"XDG_SESSION_TYPE", savedSession}, {"QT_QPA_PLATFORM", savedPlatform}}) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
}

} // namespace
