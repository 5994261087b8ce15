// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/VaultCommands.h"

#include "model/secrets/KeychainStore.h"
#include "model/store/DataController.h"
#include "model/store/VaultTransfer.h"
#include "quick/LocalDetector.h"
#include "views/EntryEditor.h"
#include "views/FormText.h"

#include <QCollator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QSet>

#include <algorithm>

namespace {

QString quoted(const QString &text)
{
    return u'\u201C' + text + u'\u201D';
}

// One record per line, fields split by tabs: a tab, line break or backslash in a name is
// written as \t, \n or \\ so every line stays one entry.
QString field(QString text)
{
    return text.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'\t', QStringLiteral("\\t"))
        .replace(u'\n', QStringLiteral("\\n"))
        .replace(u'\r', QStringLiteral("\\r"));
}

QString binzoName(const DataController &store, const Entry &entry)
{
    const Binzo *binzo = store.binzo(entry.binzoID());
    return binzo ? binzo->name() : QString();
}

CommandReply done(const QByteArray &output, const QString &message = {})
{
    return {ExitCode::kDone, output, message};
}

} // namespace

VaultCommands::VaultCommands(DataController &store, Copier copier, Owner owner, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_copier(std::move(copier))
    , m_owner(owner)
{ }

void VaultCommands::run(const CommandRequest &request, const Reply &reply)
{
    using Handler = void (VaultCommands::*)(const CommandRequest &, const Reply &);
    static const QHash<QString, Handler> handlers {
        {QStringLiteral("copy"), &VaultCommands::copy},
        {QStringLiteral("get"), &VaultCommands::get},
        {QStringLiteral("add"), &VaultCommands::add},
        {QStringLiteral("export"), &VaultCommands::exportAll},
        {QStringLiteral("import"), &VaultCommands::importAll},
    };
    if (request.command == QLatin1String("list"))
        return reply(list(request));
    const Handler handler = handlers.value(request.command);
    if (!handler)
        return reply(CommandReply::failure(
            ExitCode::kUsage, QStringLiteral("unknown command \"%1\"").arg(request.command)));
    (this->*handler)(request, reply);
}

CommandReply VaultCommands::list(const CommandRequest &request)
{
    QList<Binzo *> binzos = m_store.binzos();
    if (!request.binzo.isEmpty()) {
        binzos.removeIf(
            [&](const Binzo *binzo) { return !sameBinzoName(binzo->name(), request.binzo); });
        if (binzos.isEmpty())
            return CommandReply::failure(
                ExitCode::kNotFound,
                QStringLiteral("no binzo is named %1").arg(quoted(request.binzo)));
    }
    QSet<QUuid> listed;
    for (const Binzo *binzo : std::as_const(binzos))
        listed.insert(binzo->id());
    // By binzo, then by label; entries whose binzo is gone come last, under no name.
    QList<Entry *> entries = m_store.entries();
    if (!request.binzo.isEmpty())
        entries.removeIf([&](const Entry *entry) { return !listed.contains(entry->binzoID()); });
    QHash<QUuid, qsizetype> position;
    for (qsizetype i = 0; i < binzos.size(); ++i)
        position.insert(binzos.at(i)->id(), i);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(entries.begin(), entries.end(), [&](const Entry *a, const Entry *b) {
        const qsizetype pa = position.value(a->binzoID(), binzos.size());
        const qsizetype pb = position.value(b->binzoID(), binzos.size());
        return pa != pb ? pa < pb : collator.compare(a->label(), b->label()) < 0;
    });

    if (request.json) {
        QJsonArray rows;
        for (const Entry *entry : std::as_const(entries))
            rows.append(QJsonObject {
                {"id", entry->id().toString(QUuid::WithoutBraces).toUpper()},
                {"binzo", binzoName(m_store, *entry)},
                {"label", entry->label()},
                {"isSensitive", entry->isSensitive()},
                {"useCount", entry->useCount()},
            });
        return done(QJsonDocument(rows).toJson(QJsonDocument::Indented));
    }
    QString text;
    for (const Entry *entry : std::as_const(entries))
        text += QStringLiteral("%1\t%2\t%3\t%4\n")
                    .arg(field(binzoName(m_store, *entry)), field(entry->label()),
                         entry->isSensitive() ? QStringLiteral("sensitive")
                                              : QStringLiteral("ordinary"))
                    .arg(entry->useCount());
    return done(text.toUtf8());
}

Entry *VaultCommands::find(const CommandRequest &request, CommandReply *failure) const
{
    QList<Entry *> matches = m_store.entries();
    matches.removeIf(
        [&](const Entry *entry) { return !sameBinzoName(entry->label(), request.label); });
    const QString where
        = request.binzo.isEmpty() ? QString() : QStringLiteral(" in ") + quoted(request.binzo);
    if (!request.binzo.isEmpty()) {
        const QList<Binzo *> binzos = m_store.binzos();
        if (std::none_of(binzos.cbegin(), binzos.cend(), [&](const Binzo *binzo) {
                return sameBinzoName(binzo->name(), request.binzo);
            })) {
            *failure = CommandReply::failure(
                ExitCode::kNotFound,
                QStringLiteral("no binzo is named %1").arg(quoted(request.binzo)));
            return nullptr;
        }
        matches.removeIf([&](const Entry *entry) {
            return !sameBinzoName(binzoName(m_store, *entry), request.binzo);
        });
    }
    if (matches.size() == 1)
        return matches.first();
    if (matches.isEmpty()) {
        *failure = CommandReply::failure(
            ExitCode::kNotFound,
            QStringLiteral("no entry is labelled %1%2").arg(quoted(request.label), where));
        return nullptr;
    }
    QStringList homes;
    for (const Entry *entry : std::as_const(matches))
        homes.append(quoted(binzoName(m_store, *entry)));
    homes.removeDuplicates();
    *failure = CommandReply::failure(
        ExitCode::kUsage,
        homes.size() > 1 ? QStringLiteral("%1 labels entries in %2; choose one with --binzo")
                               .arg(quoted(request.label), homes.join(QStringLiteral(", ")))
                         : QStringLiteral("%1 labels %2 entries in %3; rename one in Binzo")
                               .arg(quoted(request.label))
                               .arg(matches.size())
                               .arg(homes.first()));
    return nullptr;
}

void VaultCommands::withValue(Entry &entry, const Reply &reply,
                              std::function<void(Entry &entry, const QString &value)> then)
{
    if (!entry.isSensitive()) {
        if (const std::optional<QString> value = entry.inlineValue())
            return then(entry, *value);
        return reply(CommandReply::failure(
            ExitCode::kFailure, QStringLiteral("%1 has no value").arg(quoted(entry.label()))));
    }
    QPointer<Entry> target(&entry);
    const QString label = entry.label();
    m_store.secrets().read(
        entry.id(), KeychainStore::Purpose::Use, this,
        [this, target, label, reply, then](const SecretResult &result) {
            if (target && result.done())
                return then(*target, QString::fromUtf8(result.value));
            QString why = target ? VaultTransfer::failureText(result)
                                 : QStringLiteral("the entry was deleted meanwhile");
            // As Return in the panel does, the running Binzo opens the unlock prompt.
            if (result.status == SecretResult::Status::Locked && m_owner == Owner::RunningApp) {
                m_store.secrets().unlock();
                why += QStringLiteral("; unlock it and try again");
            }
            reply(CommandReply::failure(
                ExitCode::kFailure,
                QStringLiteral("the value of %1 cannot be read (%2)").arg(quoted(label), why)));
        });
}

void VaultCommands::copy(const CommandRequest &request, const Reply &reply)
{
    CommandReply failure;
    Entry *entry = find(request, &failure);
    if (!entry)
        return reply(failure);
    withValue(*entry, reply, [this, reply](Entry &found, const QString &value) {
        if (const Result<void> copied = m_copier(found, value); !copied)
            return reply(CommandReply::failure(
                ExitCode::kFailure, QStringLiteral("could not copy: %1").arg(copied.error())));
        // The value is on the clipboard either way; only the count may be missing.
        const QString saveProblem = saveError();
        reply(done({},
                   saveProblem.isEmpty()
                       ? QStringLiteral("Copied ") + found.label()
                       : QStringLiteral("Copied %1, but the use was not counted: %2")
                             .arg(found.label(), saveProblem)));
    });
}

void VaultCommands::get(const CommandRequest &request, const Reply &reply)
{
    CommandReply failure;
    Entry *entry = find(request, &failure);
    if (!entry)
        return reply(failure);
    if (entry->isSensitive() && !request.reveal)
        return reply(
            CommandReply::failure(ExitCode::kUsage,
                                  QStringLiteral("%1 is sensitive; add --reveal to print it")
                                      .arg(quoted(entry->label()))));
    withValue(*entry, reply,
              [reply](Entry &, const QString &value) { reply(done(value.toUtf8() + '\n')); });
}

// Empty when the request may add its entry, else why not.
std::optional<CommandReply> VaultCommands::refuseAdd(const CommandRequest &request) const
{
    const Binzo *binzo = m_store.binzo(request.binzo);
    if (!binzo)
        return CommandReply::failure(
            ExitCode::kNotFound, QStringLiteral("no binzo is named %1").arg(quoted(request.binzo)));
    const QString label = trimmedWhitespace(request.label);
    if (label.isEmpty())
        return CommandReply::failure(ExitCode::kUsage, QStringLiteral("the label is empty"));
    if (request.value.isEmpty())
        return CommandReply::failure(
            ExitCode::kUsage, QStringLiteral("the value (read from standard input) is empty"));
    // The editor's own limit, so every value can be opened there.
    if (request.value.size() > EntryEditor::kMaxValueLength)
        return CommandReply::failure(ExitCode::kUsage,
                                     QStringLiteral("the value has %1 characters; Binzo keeps "
                                                    "values of up to %2")
                                         .arg(request.value.size())
                                         .arg(EntryEditor::kMaxValueLength));
    const QList<Entry *> entries = m_store.entries();
    if (std::any_of(entries.cbegin(), entries.cend(), [&](const Entry *entry) {
            return entry->binzoID() == binzo->id() && sameBinzoName(entry->label(), label);
        }))
        return CommandReply::failure(
            ExitCode::kUsage,
            QStringLiteral("%1 already holds %2; edit it in Binzo or choose "
                           "another label")
                .arg(quoted(binzo->name()), quoted(label)));

    return std::nullopt;
}

void VaultCommands::add(const CommandRequest &request, const Reply &reply)
{
    if (const std::optional<CommandReply> refusal = refuseAdd(request))
        return reply(*refusal);
    Binzo *binzo = m_store.binzo(request.binzo);
    const QString label = trimmedWhitespace(request.label);
    const std::optional<Detection> detection = LocalDetector::detect(request.value);
    const bool sensitive = request.sensitive || (detection && detection->isSensitive);
    QString message = QStringLiteral("Added %1 to %2").arg(quoted(label), binzo->name());
    if (sensitive)
        message += request.sensitive || !detection
            ? QStringLiteral(" as sensitive")
            : QStringLiteral(" as sensitive: it looks like ") + detection->kindWithArticle();
    QPointer<VaultCommands> self(this);
    m_store.addEntry(binzo, label, request.value, sensitive,
                     [self, reply, message](const Result<Entry *> &added) {
                         if (!self)
                             return;
                         if (!added)
                             return reply(CommandReply::failure(
                                 ExitCode::kFailure,
                                 QStringLiteral("the value could not be stored in the secret "
                                                "store (%1); nothing was added")
                                     .arg(added.error())));
                         self->finishAdd(**added, message, reply);
                     });
}

void VaultCommands::finishAdd(Entry &entry, const QString &message, const Reply &reply)
{
    const QString error = saveError();
    if (error.isEmpty())
        return reply(done({}, message));
    if (m_owner == Owner::RunningApp || !entry.isSensitive())
        return reply(CommandReply::failure(ExitCode::kFailure, error));
    // The record dies with this process: its secret must not stay behind.
    const CommandReply failure
        = CommandReply::failure(ExitCode::kFailure, error + QStringLiteral("; nothing was added"));
    m_store.secrets().remove(entry.id(), this,
                             [reply, failure](const SecretResult &) { reply(failure); });
}

void VaultCommands::exportAll(const CommandRequest &request, const Reply &reply)
{
    const bool withSecrets = request.withSecrets;
    VaultTransfer::collect(
        m_store, withSecrets, this,
        [reply, withSecrets](const Result<VaultDocument::Contents> &contents) {
            if (!contents)
                return reply(CommandReply::failure(ExitCode::kFailure,
                                                   contents.error()
                                                       + QStringLiteral("; nothing was exported")));
            const qsizetype sensitive
                = std::count_if(contents->entries.cbegin(), contents->entries.cend(),
                                [](const Entry::Fields &e) { return e.isSensitive; });
            const auto count = [](qsizetype n, const char *one, const char *many) {
                return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
            };
            QString message = QStringLiteral("Exported %1 and %2")
                                  .arg(count(contents->binzos.size(), "binzo", "binzos"),
                                       count(contents->entries.size(), "entry", "entries"));
            if (sensitive > 0)
                message += withSecrets
                    ? QStringLiteral("; %1 encrypted")
                          .arg(count(sensitive, "sensitive value", "sensitive values"))
                    : QStringLiteral("; %1 left out (--with-secrets keeps them)")
                          .arg(count(sensitive, "sensitive value", "sensitive values"));
            reply(done(VaultDocument::write(*contents), message));
        });
}

void VaultCommands::importAll(const CommandRequest &request, const Reply &reply)
{
    const Result<VaultDocument::Contents> contents = VaultDocument::read(request.document);
    if (!contents)
        return reply(CommandReply::failure(
            ExitCode::kUsage,
            QStringLiteral("not a usable export: %1; nothing was imported").arg(contents.error())));
    VaultTransfer::merge(m_store, *contents,
                         m_owner == Owner::RunningApp ? VaultTransfer::Keeper::RunningApp
                                                      : VaultTransfer::Keeper::ThisCommand,
                         this, [reply](const Result<VaultTransfer::Report> &merged) {
                             if (!merged)
                                 return reply(
                                     CommandReply::failure(ExitCode::kFailure, merged.error()));
                             reply(done(merged->summary().toUtf8() + '\n'));
                         });
}

QString VaultCommands::saveError()
{
    if (m_store.save())
        return {};
    return QStringLiteral("the store could not be saved (%1)").arg(m_store.saveError())
        + (m_owner == Owner::RunningApp ? QStringLiteral("; the running Binzo keeps trying")
                                        : QString());
}
