// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SingleInstance.h"
#include "app/RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <future>

#include <sys/stat.h>
#include <unistd.h>

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

TEST_F(SingleInstanceTest, OnlyAPrivateFolderOfThisUserIsUsed)
{
    const QString base = dir.filePath("runtime");
    QDir().mkpath(base);
    const auto folder = [&](const char *name) { return base + '/' + name; };
    const auto mode = [](const QString &path) {
        struct stat status
        {
        };
        ::lstat(QFile::encodeName(path).constData(), &status);
        return status.st_mode & 07777;
    };
    ASSERT_EQ(::mkdir(QFile::encodeName(folder("open")).constData(), 0777), 0);
    ::chmod(QFile::encodeName(folder("open")).constData(), 0777);
    ASSERT_EQ(::mkdir(QFile::encodeName(folder("readable")).constData(), 0755), 0);
    ASSERT_TRUE(QFile::link(folder("readable"), folder("link")));
    QFile(folder("file")).open(QIODevice::WriteOnly);
    ASSERT_EQ(::mkdir(QFile::encodeName(folder("foreign")).constData(), 0700), 0);
    // Only root can give a folder away; elsewhere that case is left out.
    const bool canGiveAway
        = ::chown(QFile::encodeName(folder("foreign")).constData(), 65534, 65534) == 0;

    const struct
    {
        const char *name;
        bool usable;
        const char *reason;
    } cases[] = {
        {"new/binzo", true, ""},
        {"readable", true, ""},
        {"open", false, "can be written by other users"},
        {"link", false, "is not a folder"},
        {"file", false, "is not a folder"},
        {"foreign", !canGiveAway, "belongs to user 65534"},
    };
    for (const auto &c : cases) {
        QString error;
        SingleInstance instance(folder(c.name));
        const SingleInstance::Role role = instance.acquire(&error);
        EXPECT_EQ(role == SingleInstance::Role::Primary, c.usable) << c.name;
        if (c.usable) {
            EXPECT_EQ(mode(folder(c.name)), 0700u) << c.name;
        } else {
            EXPECT_TRUE(error.contains(folder(c.name)) && error.contains(c.reason))
                << c.name << ": " << qPrintable(error);
        }
    }
}

TEST(RuntimeFolder, WithoutTheRuntimeVariableItIsTheUsersOwnInTheTemporaryFolder)
{
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", "/run/user/1000");
    EXPECT_EQ(RuntimeFolder::defaultPath(), "/run/user/1000/binzo");
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(RuntimeFolder::defaultPath(),
              QDir::tempPath() + "/binzo-" + QString::number(geteuid()));
    qputenv("XDG_RUNTIME_DIR", saved);
}

} // namespace
