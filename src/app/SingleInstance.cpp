// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SingleInstance.h"

#include "app/Logging.h"
#include "app/PeerCredentials.h"
#include "app/RuntimeFolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>

#include <algorithm>
#include <memory>

namespace {

// Links travel one per line; an empty line ends the message and the primary answers "ok". A
// command is the line kCommandLine, its request as one line of JSON, and the empty line; the
// answer is one line of JSON.
constexpr char kAnswer[] = "ok\n";
const QByteArray kCommandLine = QByteArrayLiteral("binzo-command 1\n");
constexpr int kAnswerPatienceMs = 3000;
// An import carries a whole export.
constexpr qsizetype kMaxMessageBytes = 64 * 1024 * 1024;

bool connectWithPatience(QLocalSocket &socket, const QString &socketPath, int patienceMs)
{
    QDeadlineTimer deadline(patienceMs);
    for (;;) {
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(int(std::max<qint64>(1, deadline.remainingTime()))))
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
}

// Reads until the first line break, which ends every answer.
QByteArray readAnswer(QLocalSocket &socket, int patienceMs)
{
    QByteArray answer;
    QDeadlineTimer deadline(patienceMs);
    while (!answer.contains('\n') && !deadline.hasExpired()) {
        if (!socket.bytesAvailable()
            && !socket.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime()))))
            break;
        answer += socket.readAll();
    }
    return answer;
}

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
    if (!connectWithPatience(socket, socketPath, connectPatienceMs)) {
        *error
            = QStringLiteral("the running instance does not answer (%1)").arg(socket.errorString());
        return false;
    }
    QByteArray message;
    for (const QString &link : links) {
        if (!link.isEmpty())
            message += link.toUtf8().replace('\n', ' ') + '\n';
    }
    message += '\n';
    socket.write(message);
    if (readAnswer(socket, kAnswerPatienceMs) != kAnswer) {
        *error = QStringLiteral("the running instance did not take the links");
        return false;
    }
    return true;
}

void SingleInstance::setCommandHandler(CommandHandler handler)
{
    m_commandHandler = std::move(handler);
}

std::optional<QJsonObject> SingleInstance::ask(const QString &socketPath,
                                               const QJsonObject &request, bool *connected,
                                               QString *error, int connectPatienceMs,
                                               int answerPatienceMs)
{
    QLocalSocket socket;
    *connected = connectWithPatience(socket, socketPath, connectPatienceMs);
    if (!*connected) {
        *error = QStringLiteral("the running Binzo does not answer (%1)").arg(socket.errorString());
        return std::nullopt;
    }
    socket.write(kCommandLine + QJsonDocument(request).toJson(QJsonDocument::Compact) + "\n\n");
    const QByteArray answer = readAnswer(socket, answerPatienceMs);
    const QJsonDocument reply = QJsonDocument::fromJson(answer);
    if (!answer.endsWith('\n') || !reply.isObject()) {
        *error = answer.isEmpty() ? QStringLiteral("the running Binzo did not answer")
                                  : QStringLiteral("the running Binzo gave an answer this "
                                                   "command does not understand (is it an "
                                                   "older version?)");
        return std::nullopt;
    }
    return reply.object();
}

void SingleInstance::acceptConnection()
{
    QLocalSocket *socket = m_server.nextPendingConnection();
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    if (!PeerCredentials::isSameUser(int(socket->socketDescriptor()))) {
        const std::optional<uid_t> uid = PeerCredentials::peerUid(int(socket->socketDescriptor()));
        qCWarning(lcApp, "refused a connection from %s",
                  uid ? qPrintable(QStringLiteral("user id %1").arg(*uid))
                      : "a process the system cannot name");
        socket->abort();
        return;
    }
    auto buffer = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] {
        const qsizetype searchFrom = std::max<qsizetype>(0, buffer->size() - 1);
        *buffer += socket->readAll();
        if (buffer->size() > kMaxMessageBytes) {
            socket->abort();
            return;
        }
        const bool empty = buffer->startsWith('\n');
        const qsizetype end = empty ? 0 : buffer->indexOf("\n\n", searchFrom);
        if (end < 0)
            return;
        const QByteArray message = buffer->left(end);
        buffer->clear();
        answer(socket, message);
    });
}

void SingleInstance::answer(QLocalSocket *socket, const QByteArray &message)
{
    if (message.startsWith(kCommandLine)) {
        const QJsonDocument request = QJsonDocument::fromJson(message.mid(kCommandLine.size()));
        if (!m_commandHandler || !request.isObject()) {
            socket->abort();
            return;
        }
        // The asker may be gone by the time the reply is ready.
        m_commandHandler(
            request.object(), [socket = QPointer<QLocalSocket>(socket)](const QJsonObject &reply) {
                if (!socket)
                    return;
                socket->write(QJsonDocument(reply).toJson(QJsonDocument::Compact) + '\n');
                socket->flush();
            });
        return;
    }
    QStringList links;
    if (!message.isEmpty()) {
        for (const QByteArray &line : message.split('\n'))
            links.append(QString::fromUtf8(line));
    }
    socket->write(kAnswer);
    socket->flush();
    emit linksReceived(links);
}
