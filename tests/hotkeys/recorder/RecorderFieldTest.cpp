// SPDX-License-Identifier: GPL-3.0-or-later
#include "../FakeHotkeyBackend.h"

#include "app/MenuCommands.h"
#include "hotkeys/Hotkeys.h"
#include "hotkeys/KeyboardLayout.h"
#include "hotkeys/recorder/RecorderField.h"
#include "hotkeys/recorder/RecorderServices.h"
#include "hotkeys/recorder/RecorderTexts.h"
#include "model/Preferences.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace Hotkeys;
namespace M = Hotkeys::Modifiers;

namespace {

const Shortcut kToggle(Key::space, M::kCommand | M::kShift);
const Qt::KeyboardModifiers kCtrlAlt = Qt::ControlModifier | Qt::AltModifier;

struct RecorderTest : ::testing::Test
{
    RecorderTest()
    {
        setCurrentKeyboardLayout(KeyboardLayout::fromNames("us"));
        auto owned = std::make_unique<FakeHotkeyBackend>();
        fake = owned.get();
        hotkeys = std::make_unique<Registry>(prefs, std::move(owned));
        hotkeys->reset({Name::togglePanel()});
        RecorderServices services;
        services.beep = [this] { ++beeps; };
        services.alert = [this](const RecorderAlert &alert) {
            alerts << alert;
            return alertAnswer;
        };
        services.menuShortcuts = [] {
            QList<MenuShortcut> items;
            for (const MenuCommand &command : menuCommands())
                items.append({command.title, command.shortcut});
            return items;
        };
        hotkeys->setRecorderServices(std::move(services));
    }
    ~RecorderTest() override
    {
        hotkeys->setRecorderServices({});
        setCurrentKeyboardLayout(nullptr);
    }

    QTemporaryDir dir;
    Preferences prefs {dir.filePath("preferences.json")};
    FakeHotkeyBackend *fake = nullptr;
    std::unique_ptr<Registry> hotkeys;
    int beeps = 0;
    QList<RecorderAlert> alerts;
    int alertAnswer = 0;
};

TEST_F(RecorderTest, KeyPressesWhileRecording)
{
    const Shortcut ctrlAltK(Key::k, M::kCommand | M::kOption);
    enum Alert { none, menu, system };
    const struct
    {
        const char *what;
        int key;
        Qt::KeyboardModifiers modifiers;
        quint32 x11Keycode;
        std::optional<Shortcut> heldElsewhere;
        int alertAnswer;
        bool usedUp;
        std::optional<Shortcut> stored;
        int beeps;
        Alert alert;
        bool recordingAfter;
    } cases[] = {
        // clang-format off
        {"Ctrl+Alt+K is stored", Qt::Key_K, kCtrlAlt, 45, {}, 0, true, ctrlAltK, 0, none, false},
        {"Ctrl on its own waits", Qt::Key_Control, Qt::ControlModifier, 37, {}, 0, true, kToggle, 0, none, true},
        {"Alt after Ctrl+Shift waits", Qt::Key_Alt, kCtrlAlt | Qt::ShiftModifier, 64, {}, 0, true, kToggle, 0, none, true},
        {"A alone is refused", Qt::Key_A, {}, 38, {}, 0, true, kToggle, 1, none, true},
        {"Shift+A is refused", Qt::Key_A, Qt::ShiftModifier, 38, {}, 0, true, kToggle, 1, none, true},
        {"F5 alone is stored", Qt::Key_F5, {}, 71, {}, 0, true, Shortcut(Key::f5), 0, none, false},
        {"Shift+F5 is stored", Qt::Key_F5, Qt::ShiftModifier, 71, {}, 0, true, Shortcut(Key::f5, M::kShift), 0, none, false},
        {"Tab leaves and moves on", Qt::Key_Tab, {}, 23, {}, 0, false, kToggle, 0, none, false},
        {"Escape leaves", Qt::Key_Escape, {}, 9, {}, 0, true, kToggle, 0, none, false},
        {"Backspace clears", Qt::Key_Backspace, {}, 22, {}, 0, true, {}, 0, none, true},
        {"Delete clears", Qt::Key_Delete, {}, 119, {}, 0, true, {}, 0, none, true},
        {"a key without a stored code beeps", Qt::Key_Print, Qt::ControlModifier, 107, {}, 0, true, kToggle, 1, none, true},
        {"Ctrl+Q is the Quit item's", Qt::Key_Q, Qt::ControlModifier, 24, {}, 0, true, kToggle, 0, menu, true},
        {"Ctrl+, is the Settings item's", Qt::Key_Comma, Qt::ControlModifier, 59, {}, 0, true, kToggle, 0, menu, true},
        {"Ctrl+Shift+Q is nobody's", Qt::Key_Q, Qt::ControlModifier | Qt::ShiftModifier, 24, {}, 0, true, Shortcut(Key::q, M::kCommand | M::kShift), 0, none, false},
        {"held elsewhere, OK keeps the old one", Qt::Key_K, kCtrlAlt, 45, ctrlAltK, 0, true, kToggle, 0, system, true},
        {"held elsewhere, Use Anyway stores", Qt::Key_K, kCtrlAlt, 45, ctrlAltK, 1, true, ctrlAltK, 0, system, false},
        {"F12 alone is never a system clash", Qt::Key_F12, {}, 96, Shortcut(Key::f12), 0, true, Shortcut(Key::f12), 0, none, false},
        // clang-format on
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        hotkeys->reset({Name::togglePanel()});
        fake->heldElsewhere.clear();
        if (c.heldElsewhere)
            fake->heldElsewhere.insert(*c.heldElsewhere);
        beeps = 0;
        alerts.clear();
        alertAnswer = c.alertAnswer;
        RecorderField field;
        field.setRegistry(hotkeys.get());
        int userChanges = 0;
        QObject::connect(&field, &RecorderField::userChangedShortcut, [&] { ++userChanges; });
        field.startRecording();

        EXPECT_EQ(field.handleKeyEvent(c.key, c.modifiers.toInt(), c.x11Keycode), c.usedUp);
        EXPECT_EQ(hotkeys->shortcut(Name::togglePanel()), c.stored);
        EXPECT_EQ(userChanges, c.stored != kToggle ? 1 : 0);
        EXPECT_EQ(field.text(), c.stored ? c.stored->description() : QString());
        EXPECT_EQ(beeps, c.beeps);
        ASSERT_EQ(alerts.size(), c.alert == none ? 0 : 1);
        if (c.alert == menu) {
            EXPECT_TRUE(alerts[0].message.contains(c.key == Qt::Key_Q ? "Quit Binzo" : "Settings"));
        }
        if (c.alert == system) {
            EXPECT_EQ(alerts[0].message, recorderText("keyboard_shortcut_used_by_system"));
            EXPECT_EQ(alerts[0].buttons,
                      QStringList({recorderText("ok"), recorderText("force_use_shortcut")}));
        }
        EXPECT_EQ(field.isRecording(), c.recordingAfter);
        EXPECT_EQ(hotkeys->isDispatchPaused(), c.recordingAfter);
    }
}

TEST_F(RecorderTest, ClearingTheDefaultNameWritesFalseAndAnEmptyRecorderStaysAsItIs)
{
    RecorderField field;
    field.setRegistry(hotkeys.get());
    field.startRecording();
    field.clear();
    EXPECT_EQ(prefs.boolean(Name::togglePanel().storageKey()), false);
    EXPECT_TRUE(prefs.contains(Name::togglePanel().storageKey()));
    EXPECT_FALSE(field.clearButtonVisible());

    int changes = 0;
    QObject::connect(hotkeys->notifier(), &Notifier::shortcutByNameDidChange, &field,
                     [&] { ++changes; });
    EXPECT_TRUE(field.handleKeyEvent(Qt::Key_Backspace, 0, 22));
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(field.isRecording());
}

// Going away while recording must not leave every hot key silent.
TEST_F(RecorderTest, AFieldDestroyedWhileRecordingResumesDispatch)
{
    {
        RecorderField field;
        field.setRegistry(hotkeys.get());
        field.startRecording();
        EXPECT_TRUE(hotkeys->isDispatchPaused());
    }
    EXPECT_FALSE(hotkeys->isDispatchPaused());
}

TEST_F(RecorderTest, AnotherRecorderForTheSameNameUpdatesThisOne)
{
    RecorderField shown;
    shown.setRegistry(hotkeys.get());
    RecorderField other;
    other.setRegistry(hotkeys.get());
    EXPECT_EQ(shown.text(), "Ctrl+Shift+Space");
    other.startRecording();
    other.handleKeyEvent(Qt::Key_K, kCtrlAlt.toInt(), 45);
    EXPECT_EQ(shown.text(), "Ctrl+Alt+K");
}

// Keys typed while the field does not record are not shortcuts, nor does the field record
// just because its window became active.
TEST_F(RecorderTest, TheFieldRecordsOnlyWhenAskedTo)
{
    RecorderField field;
    field.setRegistry(hotkeys.get());
    EXPECT_FALSE(field.handleKeyEvent(Qt::Key_K, kCtrlAlt.toInt(), 45));
    EXPECT_EQ(hotkeys->shortcut(Name::togglePanel()), kToggle);
    field.windowActivated();
    EXPECT_FALSE(field.canBecomeKey());
    EXPECT_TRUE(QTest::qWaitFor([&] { return field.canBecomeKey(); }, 1000));
    field.startRecording();
    field.windowDeactivated();
    EXPECT_FALSE(field.isRecording());
}

} // namespace
