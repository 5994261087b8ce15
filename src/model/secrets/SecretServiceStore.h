// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/secrets/SecretBackend.h"

#include <QString>

typedef struct _SecretService SecretService;

// Secrets as items of the desktop's Secret Service (gnome-keyring, KWallet) in its default
// collection, found by the attributes "service" and "account". Calls block for at most the
// call timeout, except an unlock prompt, which waits for the person. A call that got no answer
// is Unknown, never Failed: the service may still carry it out. A session the service no longer
// knows (it restarted) is replaced by a new one and the call is made once more.
class SecretServiceStore : public SecretBackend
{
public:
    explicit SecretServiceStore(int timeoutMs = 5000);
    ~SecretServiceStore() override;
    SecretServiceStore(const SecretServiceStore &) = delete;
    SecretServiceStore &operator=(const SecretServiceStore &) = delete;

    SecretResult write(const QString &service, const QString &account, const QString &label,
                       const QByteArray &value) override;
    SecretResult read(const QString &service, const QString &account) override;
    SecretResult remove(const QString &service, const QString &account) override;
    SecretListing items(const QString &service) override;
    SecretResult relabel(const QString &service, const QString &account,
                         const QString &label) override;
    SecretResult unlock() override;
    bool keepsLabels() const override { return true; }

    enum class Presence { Available, Absent, NoAnswer };
    // Whether a session bus is there, the service runs or can be started, and it has a
    // default collection, all within timeoutMs. *why says what is missing.
    static Presence probe(int timeoutMs, QString *why);

    // One call's outcome, and whether it failed for want of a live session.
    struct Attempt
    {
        SecretResult result;
        bool staleSession = false;
    };

private:
    // Opens the connection with its session when there is none; null with *failure set.
    SecretService *connection(SecretResult *failure);
    // Runs body with the connection, and once more with a new session when the old one
    // is gone.
    template<class Body> SecretResult withConnection(Body body);
    void disconnect();

    int m_timeoutMs;
    SecretService *m_service = nullptr;
};
