// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandClient.h"

#include "app/SingleInstance.h"
#include "app/TerminalInput.h"
#include "app/VaultCommands.h"
#include "model/secrets/PassphraseSeal.h"
#include "model/secrets/PrivateFile.h"
#include "model/secrets/SealedBox.h"
#include "model/store/DataController.h"
#include "views/EntryEditor.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QStringDecoder>
#include <QThread>

#include <cstdio>
#include <unistd.h>

namespace {

constexpr qsizetype kMaxImportBytes = 64 * 1024 * 1024;
constexpr qsizetype kMinPassphraseLength = 8;
// A Binzo that has its lock but no socket yet is starting; so is one a moment from exiting.
constexpr int kStartPatienceMs = 3000;
// An import may write many secrets, and a locked keyring waits for its person.
constexpr int kAnswerPatienceMs = 10 * 60 * 1000;

CommandReply usage(const QString &message)
{
    return CommandReply::failure(ExitCode::kUsage, message);
}

// A passphrase from --passphrase-fd, or typed on the terminal (twice for a new file).
std::optional<QByteArray> passphrase(const CommandRequest &request, bool isNew,
                                     CommandReply *failure)
{
    QString error;
    std::optional<QByteArray> typed;
    if (request.passphraseFd >= 0) {
        typed = TerminalInput::readLine(request.passphraseFd, &error);
    } else {
        typed = TerminalInput::readHidden(QStringLiteral("Passphrase: "), &error);
        if (typed && isNew) {
            std::optional<QByteArray> again
                = TerminalInput::readHidden(QStringLiteral("The same passphrase again: "), &error);
            if (again != typed) {
                *failure = usage(QStringLiteral("the two passphrases differ"));
                return std::nullopt;
            }
        }
        if (!typed)
            error += QStringLiteral("; a script gives the passphrase on a file descriptor "
                                    "with --passphrase-fd N");
    }
    if (!typed) {
        *failure = usage(QStringLiteral("no passphrase: ") + error);
        return std::nullopt;
    }
    if (isNew && QString::fromUtf8(*typed).size() < kMinPassphraseLength) {
        *failure = usage(QStringLiteral("the passphrase needs at least %1 characters")
                             .arg(kMinPassphraseLength));
        return std::nullopt;
    }
    return typed;
}

// The value for `add`: typed without echo on a terminal, else all of standard input less one
// trailing line break.
std::optional<CommandReply> readValue(CommandRequest &request)
{
    QByteArray bytes;
    if (TerminalInput::isTerminal(STDIN_FILENO)) {
        QString error;
        std::optional<QByteArray> typed = TerminalInput::readHidden(
            QStringLiteral("Value for \u201C%1\u201D: ").arg(request.label), &error);
        if (!typed)
            return usage(QStringLiteral("no value: ") + error);
        bytes = *typed;
    } else {
        // Enough bytes for the longest value in any UTF-8, and one more to see it is longer.
        bytes = TerminalInput::readAll(4 * EntryEditor::kMaxValueLength);
        if (bytes.endsWith('\n'))
            bytes.chop(bytes.endsWith("\r\n") ? 2 : 1);
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    request.value = decoder(bytes);
    SealedBox::wipe(bytes);
    if (decoder.hasError())
        return usage(QStringLiteral("the value is not UTF-8 text"));
    return std::nullopt;
}

// The export to import, decrypted when it is sealed.
std::optional<CommandReply> readDocument(CommandRequest &request)
{
    QByteArray bytes;
    if (request.file == QLatin1String("-")) {
        bytes = TerminalInput::readAll(kMaxImportBytes);
    } else {
        QFile file(request.file);
        if (!file.open(QIODevice::ReadOnly))
            return usage(
                QStringLiteral("cannot read %1: %2").arg(request.file, file.errorString()));
        bytes = file.read(kMaxImportBytes + 1);
    }
    if (bytes.size() > kMaxImportBytes)
        return usage(
            QStringLiteral("%1 is larger than an export can be (64 MiB)").arg(request.file));
    if (!PassphraseSeal::isSealed(bytes)) {
        request.document = bytes;
        return std::nullopt;
    }
    CommandReply failure;
    std::optional<QByteArray> secret = passphrase(request, false, &failure);
    if (!secret)
        return failure;
    std::optional<QByteArray> opened = PassphraseSeal::open(bytes, *secret);
    SealedBox::wipe(*secret);
    if (!opened)
        return usage(QStringLiteral("wrong passphrase, or %1 is damaged; nothing was imported")
                         .arg(request.file));
    request.document = *opened;
    return std::nullopt;
}

CommandReply runHere(const CommandRequest &request,
                     const CommandClient::KeepOnClipboard &keepOnClipboard,
                     const CommandClient::Secrets &secrets)
{
    Result<std::unique_ptr<DataController>> stored
        = DataController::open(DataController::defaultDatabasePath(), secrets());
    if (!stored)
        return CommandReply::failure(ExitCode::kFailure,
                                     QStringLiteral("cannot open the store: ") + stored.error());
    const std::unique_ptr<DataController> &store = *stored;
    DataController *opened = store.get();
    VaultCommands commands(
        *store,
        [opened, &keepOnClipboard](Entry &entry, const QString &value) {
            Result<void> kept = keepOnClipboard(value, entry.isSensitive());
            if (kept)
                opened->markUsed(&entry);
            return kept;
        },
        VaultCommands::Owner::ThisCommand);
    // The secret store answers through the event loop.
    std::optional<CommandReply> reply;
    QEventLoop loop;
    commands.run(request, [&](const CommandReply &answer) {
        reply = answer;
        loop.quit();
    });
    if (!reply)
        loop.exec();
    // Done, the store closes as the app's does at quit: no removed value stays in its log.
    // After a failure nothing more is written, so the store stays as the reply says.
    if (reply->exitCode == ExitCode::kDone)
        store->finish();
    // Secret changes the store still waits on end before the process does.
    QDeadlineTimer patience(kAnswerPatienceMs);
    while (store->secretChangesInFlight() > 0 && !patience.hasExpired())
        loop.processEvents(QEventLoop::WaitForMoreEvents, 50);
    return *reply;
}

// The running Binzo carries the request out; with none, this process does, holding Binzo's
// lock meanwhile so a Binzo that starts now finds the store as the command left it.
CommandReply dispatch(const CommandRequest &request,
                      const CommandClient::KeepOnClipboard &keepOnClipboard,
                      const CommandClient::Secrets &secrets)
{
    SingleInstance instance(SingleInstance::defaultDirectory());
    QDeadlineTimer deadline(kStartPatienceMs);
    QString error;
    for (;;) {
        if (instance.acquire(&error) != SingleInstance::Role::Secondary)
            return runHere(request, keepOnClipboard, secrets);
        bool connected = false;
        const std::optional<QJsonObject> reply = SingleInstance::ask(
            instance.socketPath(), request.toJson(), &connected, &error, 100, kAnswerPatienceMs);
        if (reply)
            return CommandReply::fromJson(*reply);
        if (connected || deadline.hasExpired())
            return CommandReply::failure(ExitCode::kFailure, error);
        QThread::msleep(20);
    }
}

Result<void> writeOut(const QString &file, const QByteArray &bytes)
{
    if (file != QLatin1String("-"))
        return PrivateFile::replace(file, bytes);
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size())
        && std::fflush(stdout) == 0)
        return {};
    return Failure {QStringLiteral("cannot write to standard output")};
}

int deliver(const CommandRequest &request, const CommandReply &reply)
{
    std::fwrite(reply.output.constData(), 1, size_t(reply.output.size()), stdout);
    std::fflush(stdout);
    if (reply.exitCode != ExitCode::kDone)
        std::fprintf(stderr, "binzo %s: %s\n", qPrintable(request.command),
                     qPrintable(reply.message));
    else if (!reply.message.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(reply.message));
    return reply.exitCode;
}

} // namespace

namespace CommandClient {

int run(CommandRequest request, const KeepOnClipboard &keepOnClipboard, const Secrets &secrets)
{
    std::optional<CommandReply> refused;
    std::optional<QByteArray> exportPassphrase;
    if (request.command == QLatin1String("add")) {
        refused = readValue(request);
    } else if (request.command == QLatin1String("import")) {
        refused = readDocument(request);
    } else if (request.command == QLatin1String("export") && request.withSecrets) {
        if (request.file == QLatin1String("-") && TerminalInput::isTerminal(STDOUT_FILENO))
            return deliver(request,
                           usage(QStringLiteral("an encrypted export is not for the "
                                                "terminal; give a file, or redirect")));
        CommandReply failure;
        exportPassphrase = passphrase(request, true, &failure);
        if (!exportPassphrase)
            refused = failure;
    }
    if (refused)
        return deliver(request, *refused);

    CommandReply reply = dispatch(request, keepOnClipboard, secrets);
    SealedBox::wipe(request.document);
    if (request.command != QLatin1String("export") || reply.exitCode != ExitCode::kDone)
        return deliver(request, reply);

    QByteArray bytes
        = exportPassphrase ? PassphraseSeal::seal(reply.output, *exportPassphrase) : reply.output;
    SealedBox::wipe(reply.output);
    if (exportPassphrase)
        SealedBox::wipe(*exportPassphrase);
    const Result<void> written = bytes.isEmpty()
        ? Failure {QStringLiteral("not enough memory to derive the key from the passphrase")}
        : writeOut(request.file, bytes);
    if (!written)
        reply = CommandReply::failure(ExitCode::kFailure,
                                      written.error() + QStringLiteral("; nothing was exported"));
    return deliver(request, reply);
}

} // namespace CommandClient
