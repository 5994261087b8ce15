// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CommandRequest.h"
#include "model/Result.h"

#include <QObject>

#include <functional>
#include <optional>

class DataController;
class Entry;

// Carries out a subcommand on a store: the running Binzo's, or one the command opened
// itself because no Binzo runs. A command that needs the secret store answers once it has
// answered; the others at once.
class VaultCommands : public QObject
{
    Q_OBJECT
public:
    // Copies as Return in the panel does (clipboard, secret mark, clearing, the use counted);
    // a Failure when the clipboard could not be set.
    using Copier = std::function<Result<void>(Entry &entry, const QString &value)>;
    using Reply = std::function<void(const CommandReply &reply)>;
    // Whether unsaved changes outlive a failed command: the running Binzo keeps them and
    // retries, a command's own store dies with it (and puts back secrets it wrote).
    enum class Owner { RunningApp, ThisCommand };

    VaultCommands(DataController &store, Copier copier, Owner owner, QObject *parent = nullptr);

    // Calls reply once, on this thread (not when this object is gone first).
    void run(const CommandRequest &request, const Reply &reply);

private:
    CommandReply list(const CommandRequest &request);
    void copy(const CommandRequest &request, const Reply &reply);
    void get(const CommandRequest &request, const Reply &reply);
    void add(const CommandRequest &request, const Reply &reply);
    std::optional<CommandReply> refuseAdd(const CommandRequest &request) const;
    void finishAdd(Entry &entry, const QString &message, const Reply &reply);
    void exportAll(const CommandRequest &request, const Reply &reply);
    void importAll(const CommandRequest &request, const Reply &reply);
    // The one entry the request names, or null with *failure set.
    Entry *find(const CommandRequest &request, CommandReply *failure) const;
    // The entry's value, its own or the secret store's, for then; or the failure for reply.
    void withValue(Entry &entry, const Reply &reply,
                   std::function<void(Entry &entry, const QString &value)> then);
    // Saves; empty when everything is saved, else why not.
    QString saveError();

    DataController &m_store;
    Copier m_copier;
    Owner m_owner;
};
