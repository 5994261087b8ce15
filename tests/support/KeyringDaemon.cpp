// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyringDaemon.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <csignal>

namespace {

QString run(const QString &program, const QStringList &arguments, int timeoutMs = 10000,
            const QByteArray &input = {}, bool *ok = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!input.isEmpty()) {
        process.write(input);
        process.closeWriteChannel();
    }
    const bool finished = process.waitForFinished(timeoutMs);
    if (ok)
        *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool gdbusCall(const QString &method, const QStringList &arguments)
{
    bool ok = false;
    run("gdbus",
        QStringList {"call", "--session", "--dest", "org.freedesktop.secrets", "--object-path",
                     "/org/freedesktop/secrets", "--method", method}
            + arguments,
        10000, {}, &ok);
    return ok;
}

bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

} // namespace

namespace KeyringDaemon {

std::optional<qint64> pid()
{
    bool ok = false;
    const QString reply
        = run("gdbus",
              {"call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
               "/org/freedesktop/DBus", "--method",
               "org.freedesktop.DBus.GetConnectionUnixProcessID", "org.freedesktop.secrets"},
              3000, {}, &ok);
    const QRegularExpressionMatch match = QRegularExpression(R"(uint32 (\d+))").match(reply);
    if (!ok || !match.hasMatch())
        return std::nullopt;
    return match.captured(1).toLongLong();
}

bool stop(qint64 pid)
{
    return ::kill(pid_t(pid), SIGSTOP) == 0;
}

bool resume(qint64 pid)
{
    return ::kill(pid_t(pid), SIGCONT) == 0;
}

bool lock()
{
    return gdbusCall("org.freedesktop.Secret.Service.Lock",
                     {"['/org/freedesktop/secrets/collection/login']"});
}

bool restart()
{
    const std::optional<qint64> old = pid();
    if (!old)
        return false;
    // The new daemon needs the old one's home to find the same keyring file.
    QFile environ(QStringLiteral("/proc/%1/environ").arg(*old));
    if (!environ.open(QIODevice::ReadOnly))
        return false;
    QProcessEnvironment environment;
    for (const QByteArray &pair : environ.readAll().split('\0')) {
        const qsizetype at = pair.indexOf('=');
        if (at > 0)
            environment.insert(QString::fromUtf8(pair.left(at)),
                               QString::fromUtf8(pair.mid(at + 1)));
    }
    if (::kill(pid_t(*old), SIGTERM) != 0 || !waitFor([&] { return pid() != old; }, 10000))
        return false;

    QProcess daemon;
    daemon.setProcessEnvironment(environment);
    daemon.start("gnome-keyring-daemon", {"--replace", "--unlock", "--components=secrets"});
    daemon.write(kPassword.toUtf8());
    daemon.closeWriteChannel();
    // It forks into the background and the starter exits.
    if (!daemon.waitForFinished(10000))
        return false;
    return waitFor([] { return pid().has_value(); }, 10000);
}

bool answerUnlockPrompt(int timeoutMs)
{
    bool found = false;
    const QString windows
        = run("xdotool", {"search", "--sync", "--onlyvisible", "--class", "gcr-prompter"},
              timeoutMs, {}, &found);
    const QString window = windows.split('\n', Qt::SkipEmptyParts).value(0);
    if (!found || window.isEmpty())
        return false;
    // Typed into the focused window: GTK ignores keys sent to a window directly.
    run("xdotool", {"windowactivate", "--sync", window}, 5000);
    bool typed = false;
    run("xdotool", {"type", "--delay", "20", kPassword}, 5000, {}, &typed);
    bool confirmed = false;
    run("xdotool", {"key", "Return"}, 5000, {}, &confirmed);
    return typed && confirmed;
}

} // namespace KeyringDaemon
