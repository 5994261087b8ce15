// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CommandRequest.h"

#include <functional>

class DataController;
class Entry;

// Carries out a subcommand on a store: the running Binzo's, or one the command opened
// itself because no Binzo runs.
class VaultCommands
{
public:
    // Copies as Return in the panel does (clipboard, secret mark, clearing, the use counted);
    // false with *error when the clipboard could not be set.
    using Copier = std::function<bool(Entry &entry, const QString &value, QString *error)>;
    // Whether unsaved changes outlive a failed command: the running Binzo keeps them and
    // retries, a command's own store dies with it (and puts back secrets it wrote).
    enum class Owner { RunningApp, ThisCommand };

    VaultCommands(DataController &store, Copier copier, Owner owner);

    CommandReply run(const CommandRequest &request);

private:
    CommandReply list(const CommandRequest &request);
    CommandReply copy(const CommandRequest &request);
    CommandReply get(const CommandRequest &request);
    CommandReply add(const CommandRequest &request);
    CommandReply exportAll(const CommandRequest &request);
    CommandReply importAll(const CommandRequest &request);
    // The one entry the request names, or null with *failure set.
    Entry *find(const CommandRequest &request, CommandReply *failure) const;
    // Saves; empty when everything is saved, else why not.
    QString saveError();

    DataController &m_store;
    Copier m_copier;
    Owner m_owner;
};
