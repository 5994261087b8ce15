// SPDX-License-Identifier: GPL-3.0-or-later
#include "../hotkeys/FakeHotkeyBackend.h"
#include "app/OnboardingWindowController.h"
#include "app/SettingsWindowController.h"
#include "appearance/ThemeController.h"
#include "hotkeys/Hotkeys.h"
#include "model/Preferences.h"
#include "model/store/DataController.h"
#include "smartfind/SemanticSearch.h"

#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const QString kOnboarded = QStringLiteral("binzo.hasOnboarded");

class WindowControllers : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        Theme::provide(&ThemeController::shared());
    }

    void SetUp() override
    {
        Preferences::shared().remove(kOnboarded);
        tour().setShowPanel([] {});
    }
    void TearDown() override
    {
        if (tour().isOpen())
            tour().finish();
        QCoreApplication::processEvents();
    }

    // One tour for the process, as in the app.
    static OnboardingWindowController &tour()
    {
        static OnboardingWindowController instance(Preferences::shared(), hotkeys());
        return instance;
    }
    static Hotkeys::Registry &hotkeys()
    {
        static Hotkeys::Registry registry(Preferences::shared());
        return registry;
    }
    static SettingsWindowController::Parts parts(Hotkeys::Registry &registry = hotkeys())
    {
        return {Preferences::shared(),
                registry,
                tour(),
                DataController::shared(),
                KeychainStore::shared(),
                SemanticSearch::shared()};
    }
    static int step()
    {
        return tour().window()->property("flow").value<QObject *>()->property("step").toInt();
    }
    static void pressReturn()
    {
        QTest::keyClick(tour().window(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
};

// Shown again while open, the tour stays on its page; replayed once finished, it starts over.
TEST_F(WindowControllers, TheTourKeepsItsPageUntilFinished)
{
    tour().show();
    QQuickWindow *first = tour().window();
    ASSERT_TRUE(QTest::qWaitForWindowActive(first));
    pressReturn();
    tour().show();
    EXPECT_EQ(tour().window(), first);
    EXPECT_EQ(step(), 1);
    tour().finish();
    QCoreApplication::processEvents();
    SettingsWindowController(parts()).replayWelcomeTour();
    ASSERT_TRUE(tour().isOpen());
    EXPECT_EQ(step(), 0);
    EXPECT_TRUE(Preferences::shared().boolean(kOnboarded)) << "replaying changes nothing stored";
}

// One window at its size is the editors scenario's; here, that a closed one is not kept.
TEST_F(WindowControllers, SettingsReopenFreshOnceClosed)
{
    SettingsWindowController settings(parts());
    settings.show();
    QQuickWindow *first = settings.window();
    ASSERT_TRUE(first);
    QSignalSpy destroyed(first, &QObject::destroyed);
    first->close();
    EXPECT_EQ(settings.window(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(destroyed.size(), 1) << "a closed window is not kept";
    settings.show();
    ASSERT_TRUE(settings.window());
    settings.window()->close();
}

bool showsText(QQuickWindow *window, const QString &text)
{
    const QList<QObject *> items = window->findChildren<QObject *>();
    return std::any_of(items.cbegin(), items.cend(),
                       [&](const QObject *item) { return item->property("text") == text; });
}

TEST_F(WindowControllers, SettingsSayWhenTheShortcutIsTakenUntilAnotherIsChosen)
{
    const Hotkeys::Shortcut taken(Hotkeys::Key::space,
                                  Hotkeys::Modifiers::kCommand | Hotkeys::Modifiers::kShift);
    auto backend = std::make_unique<FakeHotkeyBackend>();
    backend->refused.insert(taken, Hotkeys::HotkeyBackend::kHeldElsewhere);
    Hotkeys::Registry registry(Preferences::shared(), std::move(backend));
    registry.reset({Hotkeys::Name::togglePanel()});

    SettingsWindowController settings(parts(registry));
    QSignalSpy changed(&settings, &SettingsWindowController::shortcutStatusChanged);
    settings.show();
    ASSERT_TRUE(settings.window());
    const QString problem
        = "Ctrl+Shift+Space is used by another program. Record another one above.";
    EXPECT_TRUE(settings.shortcutFails());
    EXPECT_TRUE(showsText(settings.window(), problem));
    EXPECT_FALSE(registry.isEnabled(Hotkeys::Name::togglePanel()));

    registry.setShortcut(Hotkeys::Shortcut(Hotkeys::Key::k, Hotkeys::Modifiers::kCommand),
                         Hotkeys::Name::togglePanel());
    EXPECT_FALSE(changed.isEmpty());
    EXPECT_FALSE(settings.shortcutFails());
    EXPECT_TRUE(showsText(settings.window(), "Press this anywhere to open Binzo."));
    settings.window()->close();
}

} // namespace
