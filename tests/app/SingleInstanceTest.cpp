// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "app/PeerCredentials.h"
#include "app/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The asking side blocks on its answer, so it runs on another thread while this one serves
// the primary's events.
template<typename Call> auto fromAnotherThread(Call call)
{
    auto result = std::async(std::launch::async, call);
    while (result.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return result.get();
}

struct SingleInstanceTest : ::testing::Test
{
    QTemporaryDir dir;
    QString directory = dir.filePath("run/binzo");
    SingleInstance primary {directory};

    void listen()
    {
        QString error;
        ASSERT_EQ(primary.acquire(&error), SingleInstance::Role::Primary) << error.toStdString();
        ASSERT_TRUE(primary.listen(&error)) << error.toStdString();
    }
};

TEST_F(SingleInstanceTest, SecondStartForwardsItsLinksToTheFirst)
{
    ASSERT_NO_FATAL_FAILURE(listen());
    QSignalSpy received(&primary, &SingleInstance::linksReceived);
    SingleInstance second(directory);
    QString error;
    EXPECT_EQ(second.acquire(&error), SingleInstance::Role::Secondary);
    EXPECT_EQ(second.socketPath(), primary.socketPath());

    // Empty when the links were handed over, else why not.
    const auto forward = [&](const QStringList &links) {
        return fromAnotherThread([&] {
            QString failure;
            return SingleInstance::forward(second.socketPath(), links, &failure) ? QString()
                                                                                 : failure;
        });
    };
    ASSERT_EQ(forward({"binzo://open", "", "binzo:open"}), "");
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received.at(0).at(0).toStringList(), QStringList({"binzo://open", "binzo:open"}));

    // A plain second start hands over no link at all.
    ASSERT_EQ(forward({}), "");
    ASSERT_EQ(received.size(), 2);
    EXPECT_TRUE(received.at(1).at(0).toStringList().isEmpty());
}

TEST_F(SingleInstanceTest, LockOfADeadProcessIsTakenOver)
{
    // QLockFile's format: pid, application name, host name. No process has pid 2^22 + 1.
    ASSERT_TRUE(writeFile(directory + "/binzo.lock",
                          "4194305\nbinzo\n" + QSysInfo::machineHostName().toUtf8() + "\n"));
    QString error;
    EXPECT_EQ(primary.acquire(&error), SingleInstance::Role::Primary) << error.toStdString();
}

TEST_F(SingleInstanceTest, CommandsAreAnsweredByTheHandler)
{
    ASSERT_NO_FATAL_FAILURE(listen());
    const auto ask = [&](const QJsonObject &request) {
        return fromAnotherThread([&] {
            bool connected = false;
            QString askError;
            return SingleInstance::ask(primary.socketPath(), request, &connected, &askError, 1000,
                                       1000);
        });
    };

    EXPECT_EQ(ask({{"command", "list"}}), std::nullopt) << "no handler, no answer";
    primary.setCommandHandler([](const QJsonObject &request, const SingleInstance::Answer &answer) {
        answer(QJsonObject {{"echo", request.value("label").toString() + "!"}});
    });
    const QString large(200000, u'\u00e9'); // larger than one read of the socket
    EXPECT_EQ(ask({{"label", large}}), QJsonObject({{"echo", large + "!"}}));
}

// The same user's links are SecondStartForwardsItsLinksToTheFirst's.
TEST_F(SingleInstanceTest, OnlyTheSameUserIsAnswered)
{
    EXPECT_EQ(PeerCredentials::peerUid(-1), std::nullopt);
    EXPECT_FALSE(PeerCredentials::isSameUser(-1));

    if (geteuid() != 0)
        GTEST_SKIP() << "connecting as another user needs root";
    ASSERT_NO_FATAL_FAILURE(listen());
    QSignalSpy received(&primary, &SingleInstance::linksReceived);
    // Let another user reach the socket, as folders with the wrong mode would.
    for (const QString &folder : {dir.path(), dir.filePath("run"), directory})
        ASSERT_TRUE(QFile::setPermissions(
            folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther));
    ASSERT_TRUE(QFile::setPermissions(primary.socketPath(), QFile::Permissions(0x7777)));

    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(primary.socketPath());
    ASSERT_LT(size_t(path.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const pid_t child = fork();
    if (child == 0) {
        // Exits 0 when the link was refused, 1 when it was taken, 2 when it could not try.
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        if (connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
            _exit(2);
        const char link[] = "binzo://open\n\n";
        if (write(fd, link, sizeof link - 1) < 0)
            _exit(0);
        pollfd ready {fd, POLLIN, 0};
        char answer[8] {};
        const bool answered = poll(&ready, 1, 3000) == 1 && read(fd, answer, sizeof answer) > 0;
        _exit(answered ? 1 : 0);
    }
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "another user's link was answered (2: could not connect)";
    QCoreApplication::processEvents();
    EXPECT_EQ(received.size(), 0);
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
            EXPECT_EQ(fileMode(folder(c.name)), 0700u) << c.name;
        } else {
            EXPECT_TRUE(error.contains(folder(c.name)) && error.contains(c.reason))
                << c.name << ": " << qPrintable(error);
        }
    }
}

} // namespace
