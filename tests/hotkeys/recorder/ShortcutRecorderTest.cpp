// SPDX-License-Identifier: GPL-3.0-or-later
// The recorder as a user meets it in a window: when it records, an alert while recording,
// and how it leaves recording. What each key means is RecorderFieldTest's; a combination
// recorded all the way to the desktop is the editors scenario's.
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
constexpr quint32 kQ = 24, kEscape = 9, kTab = 23;
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
                    return 0;
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
