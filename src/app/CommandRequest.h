// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

// A subcommand as it travels from the terminal to a store (the running Binzo's, over its
// socket, or one the command opens itself), and the answer that comes back.
namespace ExitCode {
constexpr int kDone = 0;
constexpr int kNotFound = 1;
// The command line, or its input (a value, a file, a passphrase), could not be used.
constexpr int kUsage = 2;
// The store, the keyring or the clipboard failed.
constexpr int kFailure = 3;
} // namespace ExitCode

struct CommandRequest
{
    QString command; // list, copy, get, add, export, import
    QString label;
    QString binzo;
    bool json = false;
    bool reveal = false;
    bool sensitive = false;
    bool withSecrets = false;
    // Used on the terminal's side only; never sent.
    QString file;
    int passphraseFd = -1;
    // Gathered on the terminal's side before the request goes to a store.
    QString value; // add: from standard input
    QByteArray document; // import: the export's JSON, decrypted

    QJsonObject toJson() const;
    static CommandRequest fromJson(const QJsonObject &object);
};

struct CommandReply
{
    int exitCode = ExitCode::kDone;
    QByteArray output; // for standard output (export: the document)
    QString message; // for standard error

    QJsonObject toJson() const;
    static CommandReply fromJson(const QJsonObject &object);
    static CommandReply failure(int exitCode, const QString &message)
    {
        return {exitCode, {}, message};
    }
};
