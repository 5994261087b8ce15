// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SingleInstance.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <future>

namespace {

struct SingleInstanceTest : ::testing::Test
{
    QTemporaryDir dir;
    QString directory = dir.filePath("run/binzo");

    // The forwarding side blocks on its answer, so it runs on another thread while this one
    // serves the primary's events.
    std::pair<bool, QString> forwardFromAnotherThread(const QString &socketPath,
                                                      const QStringList &links)
    {
        auto result = std::async(std::launch::async, [socketPath, links] {
            QString error;
            const bool ok = SingleInstance::forward(socketPath, links, &error);
            return std::make_pair(ok, error);
        });
        while (result.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
            QCoreApplication::processEvents();
        return result.get();
    }
};

TEST_F(SingleInstanceTest, SecondStartForwardsItsLinksToTheFirst)
{
    SingleInstance primary(directory);
    QString error;
    ASSERT_EQ(primary.acquire(&error), SingleInstance::Role::Primary) << error.toStdString();
    ASSERT_TRUE(primary.listen(&error)) << error.toStdString();
    QSignalSpy received(&primary, &SingleInstance::linksReceived);

    const auto [ok, forwardError]
        = forwardFromAnotherThread(primary.socketPath(), {"binzo://open", "", "binzo:open"});
    ASSERT_TRUE(ok) << forwardError.toStdString();
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received.at(0).at(0).toStringList(), QStringList({"binzo://open", "binzo:open"}));

    // A plain second start hands over no link at all.
    ASSERT_TRUE(forwardFromAnotherThread(primary.socketPath(), {}).first);
    ASSERT_EQ(received.size(), 2);
    EXPECT_TRUE(received.at(1).at(0).toStringList().isEmpty());
}

TEST_F(SingleInstanceTest, LockHeldByARunningInstanceMakesASecondary)
{
    SingleInstance primary(directory);
    QString error;
    ASSERT_EQ(primary.acquire(&error), SingleInstance::Role::Primary);

    SingleInstance other(directory);
    EXPECT_EQ(other.acquire(&error), SingleInstance::Role::Secondary);
    EXPECT_EQ(other.socketPath(), primary.socketPath());
}

TEST_F(SingleInstanceTest, LockOfADeadProcessIsTakenOver)
{
    QDir().mkpath(directory);
    QFile lock(directory + "/binzo.lock");
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    // QLockFile's format: pid, application name, host name. No process has pid 2^22 + 1.
    lock.write(QByteArray::number(4194305) + "\nbinzo\n" + QSysInfo::machineHostName().toUtf8()
               + "\n");
    lock.close();

    SingleInstance instance(directory);
    QString error;
    EXPECT_EQ(instance.acquire(&error), SingleInstance::Role::Primary) << error.toStdString();
}

TEST_F(SingleInstanceTest, NobodyListeningIsAFailureWithAReason)
{
    QString error;
    EXPECT_FALSE(
        SingleInstance::forward(directory + "/nothing.socket", {"binzo://open"}, &error, 50));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
