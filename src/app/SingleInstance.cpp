// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SingleInstance.h"

#include "app/RuntimeFolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>

#include <algorithm>
#include <memory>

namespace {

// Links travel one per line; an empty line ends the message and the primary answers "ok".
constexpr char kAnswer[] = "ok\n";
constexpr int kAnswerPatienceMs = 3000;
constexpr qsizetype kMaxMessageBytes = 64 * 1024;

} // namespace

SingleInstance::SingleInstance(QString directory, QObject *parent)
    : QObject(parent)
    , m_directory(std::move(directory))
{
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (m_server.hasPendingConnections())
            acceptConnection();
    });
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultDirectory()
{
    return RuntimeFolder::defaultPath();
}

QString SingleInstance::socketPath() const
{
    return m_directory + QStringLiteral("/binzo.socket");
}

SingleInstance::Role SingleInstance::acquire(QString *error)
{
    if (!RuntimeFolder::makePrivate(m_directory, error))
        return Role::Failed;
    m_lock = std::make_unique<QLockFile>(m_directory + QStringLiteral("/binzo.lock"));
    // Only a lock whose process is gone is stale, however old it is.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return Role::Primary;
    if (m_lock->error() == QLockFile::LockFailedError)
        return Role::Secondary;
    *error = QStringLiteral("cannot use the lock file in %1").arg(m_directory);
    return Role::Failed;
}

bool SingleInstance::listen(QString *error)
{
    QLocalServer::removeServer(socketPath());
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server.listen(socketPath()))
        return true;
    *error = QStringLiteral("cannot listen on %1: %2").arg(socketPath(), m_server.errorString());
    return false;
}

bool SingleInstance::forward(const QString &socketPath, const QStringList &links, QString *error,
                             int connectPatienceMs)
{
    QLocalSocket socket;
    QDeadlineTimer deadline(connectPatienceMs);
    for (;;) {
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(int(std::max<qint64>(1, deadline.remainingTime()))))
            break;
        if (deadline.hasExpired()) {
            *error = QStringLiteral("the running instance does not answer (%1)")
                         .arg(socket.errorString());
            return false;
        }
        QThread::msleep(10);
    }
    QByteArray message;
    for (const QString &link : links) {
        if (!link.isEmpty())
            message += link.toUtf8().replace('\n', ' ') + '\n';
    }
    message += '\n';
    socket.write(message);
    QByteArray answer;
    QDeadlineTimer answerDeadline(kAnswerPatienceMs);
    while (!answer.contains('\n') && !answerDeadline.hasExpired()) {
        if (!socket.waitForReadyRead(int(std::max<qint64>(1, answerDeadline.remainingTime()))))
            break;
        answer += socket.readAll();
    }
    if (answer != kAnswer) {
        *error = QStringLiteral("the running instance did not take the links");
        return false;
    }
    return true;
}

void SingleInstance::acceptConnection()
{
    QLocalSocket *socket = m_server.nextPendingConnection();
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto buffer = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] {
        *buffer += socket->readAll();
        if (buffer->size() > kMaxMessageBytes) {
            socket->abort();
            return;
        }
        const qsizetype end = buffer->indexOf("\n\n");
        const bool empty = buffer->startsWith('\n');
        if (end < 0 && !empty)
            return;
        QStringList links;
        if (!empty) {
            for (const QByteArray &line : buffer->left(end).split('\n'))
                links.append(QString::fromUtf8(line));
        }
        buffer->clear();
        socket->write(kAnswer);
        socket->flush();
        emit linksReceived(links);
    });
}
