// SPDX-License-Identifier: GPL-3.0-or-later
// Notices through a stand-in for the desktop's notification service on the session bus.
#include "app/DesktopNotifier.h"

#include <QDBusConnection>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");

class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Call
    {
        QString summary;
        QString body;
        QStringList actions;
    };
    QList<Call> calls;

public slots:
    uint Notify(const QString &, uint, const QString &, const QString &summary, const QString &body,
                const QStringList &actions, const QVariantMap &, int)
    {
        calls.append({summary, body, actions});
        return uint(calls.size());
    }

signals:
    void ActionInvoked(uint id, const QString &actionKey);
    void NotificationClosed(uint id, uint reason);
};

// The service on a connection of its own, as another process would offer it.
struct DesktopNotifierTest : ::testing::Test
{
    void SetUp() override
    {
        ASSERT_TRUE(bus.isConnected()) << "no session bus";
        ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &fake,
                                       QDBusConnection::ExportAllSlots
                                           | QDBusConnection::ExportAllSignals));
        ASSERT_TRUE(bus.registerService(kService));
    }
    void TearDown() override
    {
        bus.unregisterService(kService);
        bus.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    }

    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                                        QStringLiteral("notification-service"));
    FakeNotifications fake;
    DesktopNotifier notifier {QDBusConnection::sessionBus()};
    int fellBack = 0;
    int actionsRun = 0;
};

TEST_F(DesktopNotifierTest, ANoticeWithAnActionRunsItWhenTheUserClicks)
{
    notifier.setFallback([this](const DesktopNotifier::Notice &) { ++fellBack; });
    notifier.notify({"Shortcut not available", "Ctrl+Shift+Space is used by another program.",
                     "Open Settings", [this] { ++actionsRun; }});
    ASSERT_TRUE(QTest::qWaitFor([this] { return !fake.calls.isEmpty(); }, 5000));
    EXPECT_EQ(fake.calls.first().body, "Ctrl+Shift+Space is used by another program.");
    EXPECT_TRUE(fake.calls.first().actions.contains("Open Settings"));

    emit fake.ActionInvoked(1, QStringLiteral("someone else's"));
    emit fake.ActionInvoked(1, QStringLiteral("default"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return actionsRun > 0; }, 5000));
    // Once closed, the notification's action is gone.
    emit fake.NotificationClosed(1, 2);
    emit fake.ActionInvoked(1, QStringLiteral("default"));
    QTest::qWait(200);
    EXPECT_EQ(actionsRun, 1);
    EXPECT_EQ(fellBack, 0);
}

TEST_F(DesktopNotifierTest, WithoutAServiceTheFallbackShowsTheNotice)
{
    bus.unregisterService(kService);
    QString shown;
    notifier.setFallback([&](const DesktopNotifier::Notice &notice) { shown = notice.body; });
    notifier.notify({"Binzo", "the body", {}, {}});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }, 5000));
    EXPECT_EQ(shown, "the body");
}

} // namespace

#include "DesktopNotifierTest.moc"
