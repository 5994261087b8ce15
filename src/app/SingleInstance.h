// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

// One Binzo per user: the first process holds a lock file and listens on a local socket beside
// it; a later one hands its links over and exits, and a command-line request is answered by
// it. Needs only QtCore and QtNetwork, so the hand-over happens before any window system is
// touched. Only processes of the same user are answered.
class QLocalSocket;

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    enum class Role { Primary, Secondary, Failed };

    explicit SingleInstance(QString directory, QObject *parent = nullptr);
    ~SingleInstance() override;

    // RuntimeFolder::defaultPath().
    static QString defaultDirectory();

    // Takes the lock (Primary) or finds it held by a running Binzo (Secondary, which then
    // forwards its links). On Failed, *error says why: the folder could not be made private
    // or the lock file cannot be used.
    Role acquire(QString *error);
    // The primary's socket; call once the application object exists.
    bool listen(QString *error);

    // Sends links to the instance listening at the socket and waits for its answer, trying to
    // connect for up to connectPatienceMs (the primary locks a moment before it listens).
    static bool forward(const QString &socketPath, const QStringList &links, QString *error,
                        int connectPatienceMs = 3000);

    // Answers a command-line request (see ask): calls answer with the reply, at once or later
    // (a secret read first); without a handler requests go unanswered.
    using Answer = std::function<void(const QJsonObject &reply)>;
    using CommandHandler = std::function<void(const QJsonObject &request, Answer answer)>;
    void setCommandHandler(CommandHandler handler);
    // Sends a request to the instance listening at the socket and waits up to
    // answerPatienceMs for its reply. Absent with *error on failure; *connected says whether
    // an instance was listening at all (one may be starting, or have just ended).
    static std::optional<QJsonObject> ask(const QString &socketPath, const QJsonObject &request,
                                          bool *connected, QString *error, int connectPatienceMs,
                                          int answerPatienceMs);

    QString socketPath() const;

signals:
    // Links handed over by a later process, in the order given.
    void linksReceived(const QStringList &links);

private:
    void acceptConnection();
    void answer(QLocalSocket *socket, const QByteArray &message);

    QString m_directory;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
    CommandHandler m_commandHandler;
};
