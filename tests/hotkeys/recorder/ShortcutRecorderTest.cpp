// SPDX-License-Identifier: GPL-3.0-or-later
// The recorder as a user meets it: when it records, what each key press does, and how it
// leaves recording.
#include "../../views/QmlSceneFixture.h"
#include "../FakeHotkeyBackend.h"
#include "hotkeys/Hotkeys.h"
#include "hotkeys/recorder/RecorderServices.h"
#include "model/Preferences.h"

#include <QKeyEvent>
#include <QQmlContext>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

using Hotkeys::Shortcut;

// X11 keycodes of the evdev layout.
constexpr quint32 kA = 38, kB = 56, kK = 45, kQ = 24, kF5 = 71;
constexpr quint32 kEscape = 9, kTab = 23, kBackspace = 22, kDelete = 119;
const Shortcut kDefault(49, Hotkeys::Modifiers::kCarbonCommand | Hotkeys::Modifiers::kCarbonShift);

const char kScene[] = R"(
import QtQuick
import Binzo.Hotkeys
Column {
    width: 300; height: 120
    property alias first: first
    property alias second: second
    property alias next: next
    ShortcutRecorder { id: first; registry: hotkeys; shortcutName: "togglePanel" }
    ShortcutRecorder { id: second; registry: hotkeys; shortcutName: "togglePanel" }
    TextInput { id: next; width: 100; height: 20; activeFocusOnTab: true }
}
)";

class ShortcutRecorderTest : public QmlSceneFixture
{
protected:
    void SetUp() override
    {
        auto backend = std::make_unique<FakeHotkeyBackend>();
        m_backend = backend.get();
        hotkeys = std::make_unique<Hotkeys::Registry>(m_prefs, std::move(backend));
        s_engine->rootContext()->setContextProperty("hotkeys", hotkeys.get());
        hotkeys->setShortcut(kDefault, Hotkeys::Name::togglePanel());
        // Alerts are answered by the test, which also notes whether recording ran meanwhile.
        hotkeys->setRecorderServices({
            .beep = [this] { ++m_beeps; },
            .alert =
                [this](const Hotkeys::RecorderAlert &alert) {
                    m_alerts << alert;
                    m_recordingDuringAlert = recording();
                    return m_alertAnswer;
                },
            .menuShortcuts =
                [] {
                    return QList<Hotkeys::MenuShortcut> {
                        {"Quit Binzo", QKeySequence(Qt::CTRL | Qt::Key_Q)}};
                },
            .systemShortcuts = {},
        });

        ASSERT_TRUE(show(kScene, QSize(300, 120)));
    }
    void TearDown() override
    {
        m_scene.reset();
        hotkeys.reset();
    }

    QQuickItem *item(const char *name) const
    {
        return m_scene->property(name).value<QQuickItem *>();
    }
    QObject *field(const char *name = "first") const
    {
        return item(name)->findChildren<QObject *>().value(0);
    }
    bool recording() const { return field()->property("isRecording").toBool(); }
    std::optional<Shortcut> stored() const
    {
        return hotkeys->shortcut(Hotkeys::Name::togglePanel());
    }
    void click(QQuickItem *target)
    {
        const QPointF centre
            = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
        QTest::mouseClick(&m_window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, quint32 keycode = 0)
    {
        QKeyEvent down(QEvent::KeyPress, key, modifiers, keycode, 0, 0);
        QCoreApplication::sendEvent(&m_window, &down);
        QKeyEvent up(QEvent::KeyRelease, key, modifiers, keycode, 0, 0);
        QCoreApplication::sendEvent(&m_window, &up);
    }

    QTemporaryDir m_dir;
    Preferences m_prefs {m_dir.filePath("preferences.json")};
    FakeHotkeyBackend *m_backend = nullptr;
    std::unique_ptr<Hotkeys::Registry> hotkeys;
    int m_beeps = 0;
    QList<Hotkeys::RecorderAlert> m_alerts;
    bool m_recordingDuringAlert = false;
    int m_alertAnswer = 0;
};

TEST_F(ShortcutRecorderTest, RecordsAfterAClickNotBecauseTheWindowIsActive)
{
    EXPECT_FALSE(recording());
    EXPECT_EQ(field()->property("text"), "Ctrl+Shift+Space");
    QSignalSpy status(hotkeys->notifier(), &Hotkeys::Notifier::recorderActiveStatusDidChange);
    click(item("first"));
    EXPECT_TRUE(recording());
    EXPECT_TRUE(hotkeys->isDispatchPaused());
    EXPECT_FALSE(m_backend->isLive(kDefault)) << "let go, so pressing it reaches the recorder";
    press(Qt::Key_Escape, Qt::NoModifier, kEscape);
    EXPECT_FALSE(recording());
    EXPECT_FALSE(hotkeys->isDispatchPaused());
    EXPECT_TRUE(m_backend->isLive(kDefault));
    EXPECT_EQ(stored(), kDefault);
    ASSERT_EQ(status.size(), 2);
    EXPECT_EQ(status.at(0).first(), true);
    EXPECT_EQ(status.at(1).first(), false);
}

TEST_F(ShortcutRecorderTest, KeyPressesWhileRecording)
{
    const Shortcut f5(96), shiftF5(96, Hotkeys::Modifiers::kCarbonShift);
    const Shortcut ctrlAltB(11,
                            Hotkeys::Modifiers::kCarbonCommand | Hotkeys::Modifiers::kCarbonOption);
    const struct
    {
        const char *what;
        int key;
        Qt::KeyboardModifiers modifiers;
        quint32 keycode;
        std::optional<Shortcut> stored; // absent: unchanged
        bool beeps;
    } cases[] = {
        {"A alone is refused", Qt::Key_A, Qt::NoModifier, kA, {}, true},
        {"Shift+A is refused", Qt::Key_A, Qt::ShiftModifier, kA, {}, true},
        {"a modifier on its own waits", Qt::Key_Control, Qt::ControlModifier, 37, {}, false},
        {"F5 alone is taken", Qt::Key_F5, Qt::NoModifier, kF5, f5, false},
        {"Shift+F5 is taken", Qt::Key_F5, Qt::ShiftModifier, kF5, shiftF5, false},
        {"Ctrl+Alt+B is taken", Qt::Key_B, Qt::ControlModifier | Qt::AltModifier, kB, ctrlAltB,
         false},
    };
    for (const auto &c : cases) {
        hotkeys->setShortcut(kDefault, Hotkeys::Name::togglePanel());
        click(item("first"));
        const int beepsBefore = m_beeps;
        press(c.key, c.modifiers, c.keycode);
        EXPECT_EQ(stored(), c.stored.value_or(kDefault)) << c.what;
        EXPECT_EQ(m_beeps > beepsBefore, c.beeps) << c.what;
        EXPECT_EQ(recording(), !c.stored) << c.what;
        EXPECT_EQ(field("second")->property("text"), stored()->description()) << c.what;
        press(Qt::Key_Escape, Qt::NoModifier, kEscape);
    }
}

TEST_F(ShortcutRecorderTest, MenuShortcutIsRefusedWithAnAlertNamingTheItem)
{
    click(item("first"));
    press(Qt::Key_Q, Qt::ControlModifier, kQ);
    ASSERT_EQ(m_alerts.size(), 1);
    EXPECT_TRUE(m_alerts.first().message.contains("Quit Binzo"));
    EXPECT_FALSE(m_recordingDuringAlert) << "the alert runs with recording ended";
    EXPECT_TRUE(recording()) << "and recording resumes after it";
    EXPECT_EQ(stored(), kDefault);
}

TEST_F(ShortcutRecorderTest, CombinationHeldElsewhereNeedsTheSecondButton)
{
    const Shortcut ctrlAltK(40,
                            Hotkeys::Modifiers::kCarbonCommand | Hotkeys::Modifiers::kCarbonOption);
    m_backend->heldElsewhere.insert(ctrlAltK);
    for (const int answer : {0, 1}) {
        m_alertAnswer = answer;
        click(item("first"));
        press(Qt::Key_K, Qt::ControlModifier | Qt::AltModifier, kK);
        EXPECT_EQ(stored(), answer == 0 ? kDefault : ctrlAltK);
        press(Qt::Key_Escape, Qt::NoModifier, kEscape);
    }
    ASSERT_EQ(m_alerts.size(), 2);
    EXPECT_EQ(m_alerts.first().buttons.size(), 2);
}

TEST_F(ShortcutRecorderTest, DeleteClearsAndAnEmptyRecorderStaysEmpty)
{
    click(item("first"));
    press(Qt::Key_Backspace, Qt::NoModifier, kBackspace);
    EXPECT_EQ(stored(), std::nullopt);
    EXPECT_EQ(m_prefs.contains("Hotkeys_togglePanel"), true)
        << "a cleared default is stored as false";
    EXPECT_EQ(field()->property("text"), QString());
    EXPECT_TRUE(recording());
    press(Qt::Key_Delete, Qt::NoModifier, kDelete);
    EXPECT_EQ(stored(), std::nullopt);
    EXPECT_TRUE(recording());
}

TEST_F(ShortcutRecorderTest, TabAndAClickOutsideEndRecording)
{
    click(item("first"));
    press(Qt::Key_Tab, Qt::NoModifier, kTab);
    EXPECT_FALSE(recording());
    EXPECT_TRUE(item("second")->hasActiveFocus()) << "Tab moves on to the next control";
    press(Qt::Key_Tab, Qt::NoModifier, kTab);
    EXPECT_TRUE(item("next")->hasActiveFocus());

    click(item("first"));
    EXPECT_TRUE(recording());
    QTest::mouseClick(&m_window, Qt::LeftButton, Qt::NoModifier, QPoint(290, 110));
    EXPECT_FALSE(recording());
    EXPECT_EQ(stored(), kDefault);
}

} // namespace
