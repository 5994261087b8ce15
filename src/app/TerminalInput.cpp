// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TerminalInput.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The terminal whose echo is off, for the signal handler to put back.
int g_terminal = -1;
termios g_saved {};

void restoreAndReraise(int signal)
{
    tcsetattr(g_terminal, TCSAFLUSH, &g_saved);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

QString lastError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Up to the first line break or the end; false on a read error.
bool readUntilLineBreak(int fd, QByteArray *line)
{
    char c = 0;
    for (;;) {
        const ssize_t n = read(fd, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0 || c == '\n')
            return true;
        line->append(c);
    }
}

} // namespace

namespace TerminalInput {

bool isTerminal(int fd)
{
    return isatty(fd) == 1;
}

std::optional<QByteArray> readHidden(const QString &prompt, QString *error)
{
    const int terminal = open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (terminal < 0) {
        *error = QStringLiteral("no terminal to ask on");
        return std::nullopt;
    }
    const QByteArray promptBytes = prompt.toLocal8Bit();
    if (write(terminal, promptBytes.constData(), size_t(promptBytes.size())) < 0) {
        *error = lastError();
        close(terminal);
        return std::nullopt;
    }
    termios hidden {};
    const bool canHide = tcgetattr(terminal, &g_saved) == 0;
    struct sigaction restore
    {
    };
    struct sigaction previous[3] {};
    const int caught[] = {SIGINT, SIGTERM, SIGHUP};
    if (canHide) {
        g_terminal = terminal;
        restore.sa_handler = restoreAndReraise;
        for (int i = 0; i < 3; ++i)
            sigaction(caught[i], &restore, &previous[i]);
        hidden = g_saved;
        hidden.c_lflag &= ~tcflag_t(ECHO);
        hidden.c_lflag |= ECHONL;
        tcsetattr(terminal, TCSAFLUSH, &hidden);
    }
    QByteArray line;
    const bool ok = readUntilLineBreak(terminal, &line);
    if (canHide) {
        tcsetattr(terminal, TCSAFLUSH, &g_saved);
        for (int i = 0; i < 3; ++i)
            sigaction(caught[i], &previous[i], nullptr);
        g_terminal = -1;
    }
    close(terminal);
    if (!ok) {
        *error = lastError();
        return std::nullopt;
    }
    return line;
}

std::optional<QByteArray> readLine(int fd, QString *error)
{
    QByteArray line;
    if (fcntl(fd, F_GETFD) < 0 || !readUntilLineBreak(fd, &line)) {
        *error = QStringLiteral("cannot read file descriptor %1: %2").arg(fd).arg(lastError());
        return std::nullopt;
    }
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

QByteArray readAll(qsizetype limit)
{
    QByteArray all;
    char buffer[4096];
    while (all.size() <= limit) {
        const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        all.append(buffer, n);
    }
    all.truncate(limit + 1);
    return all;
}

} // namespace TerminalInput
