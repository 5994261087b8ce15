// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/ClipboardHolder.h"

#include "app/TerminalInput.h"
#include "model/secrets/SealedBox.h"
#include "platform/x11/X11Connection.h"
#include "quick/SystemClipboard.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr int kStartPatienceMs = 10000;
constexpr int kOwnershipSettleMs = 250;
const char kReady[] = "ok\n";

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

// Writes all of the bytes to a pipe and closes it.
bool sendAndClose(int fd, const QByteArray &bytes)
{
    QFile pipe;
    return pipe.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)
        && pipe.write(bytes) == bytes.size() && pipe.flush();
}

// What the holder says before it lets go of standard output: kReady, or why not.
QByteArray readReport(int fd)
{
    QByteArray report;
    QDeadlineTimer deadline(kStartPatienceMs);
    for (;;) {
        pollfd ready {fd, POLLIN, 0};
        if (poll(&ready, 1, int(deadline.remainingTime())) <= 0)
            return report;
        char buffer[512];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return report;
        report.append(buffer, n);
    }
}

void report(const char *text)
{
    std::fputs(text, stdout);
    std::fflush(stdout);
    // The command that started us is waiting for the end of this stream.
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    dup2(null, STDOUT_FILENO);
    close(null);
}

} // namespace

namespace ClipboardHolder {

Result<void> start(const QString &value, bool isSecret, std::chrono::seconds clearAfter)
{
    if (!X11Connection::displayReachable())
        return Failure {QStringLiteral("no X11 display to copy to (DISPLAY=\"%1\")")
                            .arg(qEnvironmentVariable("DISPLAY"))};
    // A holder that dies early must not take this process with it.
    std::signal(SIGPIPE, SIG_IGN);
    int valuePipe[2];
    int reportPipe[2];
    if (pipe2(valuePipe, O_CLOEXEC) != 0 || pipe2(reportPipe, O_CLOEXEC) != 0)
        return Failure {systemError("cannot make a pipe")};
    const QByteArray program = QFile::encodeName(QCoreApplication::applicationFilePath());
    // The panel's own setting, so a secret leaves the clipboard as it would after Return.
    const QByteArray clearAfterText = QByteArray::number(isSecret ? qint64(clearAfter.count()) : 0);
    const char *argv[] = {program.constData(), kArgument, isSecret ? "secret" : "plain",
                          clearAfterText.constData(), nullptr};
    const pid_t pid = fork();
    if (pid == 0) {
        // Only async-signal-safe calls until exec: this process may have other threads.
        dup2(valuePipe[0], STDIN_FILENO);
        dup2(reportPipe[1], STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        close_range(3, ~0U, 0);
        setsid();
        execv(program.constData(), const_cast<char *const *>(argv));
        _exit(127);
    }
    close(valuePipe[0]);
    close(reportPipe[1]);
    if (pid < 0) {
        Failure why {systemError("cannot start the clipboard holder")};
        close(valuePipe[1]);
        close(reportPipe[0]);
        return why;
    }
    QByteArray bytes = value.toUtf8();
    const bool sent = sendAndClose(valuePipe[1], bytes);
    SealedBox::wipe(bytes);
    const QByteArray answer = sent ? readReport(reportPipe[0]) : QByteArray();
    close(reportPipe[0]);
    if (answer == kReady)
        return {};
    return Failure {answer.trimmed().isEmpty()
                        ? QStringLiteral("the clipboard holder did not start")
                        : QString::fromUtf8(answer.trimmed())};
}

int run(int argc, char *argv[])
{
    // Arguments: "secret" or "plain", then the seconds until the clipboard is cleared (0: never).
    const bool isSecret = argc > 2 && qstrcmp(argv[2], "secret") == 0;
    const int clearAfter = argc > 3 ? std::max(0, QByteArray(argv[3]).toInt()) : 0;
    QByteArray bytes = TerminalInput::readAll(64 * 1024 * 1024);
    if (!X11Connection::displayReachable()) {
        report("no X11 display to copy to\n");
        return 1;
    }
    // The X11 clipboard is the one whose owner must stay.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    QClipboard *clipboard = QGuiApplication::clipboard();
    SystemClipboard().setText(QString::fromUtf8(bytes), isSecret);
    SealedBox::wipe(bytes);
    // Asked of the server: Qt's own idea of ownership can miss a new owner.
    const xcb_window_t ours = X11Connection::selectionOwner("CLIPBOARD");
    if (!clipboard->ownsClipboard() || ours == XCB_WINDOW_NONE) {
        report("could not take the clipboard\n");
        return 1;
    }
    report(kReady);
    auto stillOurs = [ours] { return X11Connection::selectionOwner("CLIPBOARD") == ours; };
    QObject::connect(clipboard, &QClipboard::changed, &app, [stillOurs](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && !stillOurs())
            QCoreApplication::quit();
    });
    if (clearAfter > 0)
        QTimer::singleShot(std::chrono::seconds(clearAfter), &app, [clipboard, stillOurs] {
            if (stillOurs())
                clipboard->clear(QClipboard::Clipboard);
            QCoreApplication::quit();
        });
    return app.exec();
}

} // namespace ClipboardHolder
