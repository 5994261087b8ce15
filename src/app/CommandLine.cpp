// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <QHash>

#include <array>

namespace {

using Invocation = CommandLine::Invocation;

struct Option
{
    const char *name;
    bool takesValue;
};

struct Command
{
    const char *name;
    const char *positional; // nullptr: none
    QList<Option> options;
    QList<const char *> required;
    const char *usage;
    const char *description;
};

const Option kBinzo {"--binzo", true};
const Option kPassphraseFd {"--passphrase-fd", true};

const std::array<Command, 6> kCommands {{
    {"list",
     nullptr,
     {kBinzo, {"--json", false}},
     {},
     "binzo list [--binzo NAME] [--json]",
     "Prints each entry's binzo, label, whether it is sensitive, and its use count, one\n"
     "entry per line with tabs between, or as JSON. Never prints a value.\n"},
    {"copy",
     "LABEL",
     {kBinzo},
     {},
     "binzo copy LABEL [--binzo NAME]",
     "Copies the value of the entry with this label (letter case aside) to the clipboard,\n"
     "as Return in the panel does: the use is counted, and a sensitive value is marked\n"
     "for clipboard managers and cleared from the clipboard after a while. --binzo picks\n"
     "the binzo when the label is in more than one.\n"},
    {"get",
     "LABEL",
     {kBinzo, {"--reveal", false}},
     {},
     "binzo get LABEL [--binzo NAME] [--reveal]",
     "Prints the value of the entry with this label. A sensitive value is printed only\n"
     "with --reveal. Does not count a use.\n"},
    {"add",
     nullptr,
     {kBinzo, {"--label", true}, {"--sensitive", false}},
     {"--binzo", "--label"},
     "binzo add --binzo NAME --label LABEL [--sensitive] < VALUE",
     "Adds an entry to the binzo. The value is read from standard input (one trailing\n"
     "line break is dropped), never from the arguments, which other users can see.\n"
     "A value that looks like a secret (an API key, a token, a card number, an IBAN)\n"
     "is stored as sensitive, as in the editor; --sensitive makes any value sensitive.\n"},
    {"export",
     "FILE",
     {{"--with-secrets", false}, kPassphraseFd},
     {},
     "binzo export FILE [--with-secrets [--passphrase-fd N]]",
     "Writes every binzo and entry to FILE (\"-\" for standard output) as JSON.\n"
     "Sensitive values are left out unless --with-secrets is given; the whole file is\n"
     "then encrypted with a passphrase (at least 8 characters) asked for twice on the\n"
     "terminal, or read from the first line of file descriptor N.\n"},
    {"import",
     "FILE",
     {kPassphraseFd},
     {},
     "binzo import FILE [--passphrase-fd N]",
     "Merges an exported FILE into the store by id: nothing is duplicated, a newer\n"
     "entry replaces an older one, and the counts of what was added, updated and\n"
     "skipped are printed. An encrypted file asks for its passphrase on the terminal, or\n"
     "reads it from file descriptor N. A damaged file or a wrong passphrase changes\n"
     "nothing.\n"},
}};

const char kExitStatus[]
    = "Exit status: 0 done, 1 no such entry or binzo, 2 the command line or its input\n"
      "could not be used, 3 the store, the keyring or the clipboard failed.\n";

QString generalHelp()
{
    QString text = QStringLiteral(
        "Usage: binzo [binzo://open]\n"
        "       binzo COMMAND [OPTIONS]\n"
        "\n"
        "Without a command, Binzo starts in the system tray, or opens the panel of the\n"
        "Binzo that is already running.\n"
        "\n"
        "Commands, for scripts (each has --help):\n");
    for (const Command &command : kCommands)
        text += QStringLiteral("  %1\n").arg(QLatin1String(command.usage).mid(6));
    text += QStringLiteral("\n"
                           "Options:\n"
                           "  --help     print this help\n"
                           "  --version  print the version\n"
                           "\n")
        + QLatin1String(kExitStatus);
    return text;
}

QString commandHelp(const Command &command)
{
    return QStringLiteral("Usage: %1\n\n%2\n%3")
        .arg(QLatin1String(command.usage), QLatin1String(command.description),
             QLatin1String(kExitStatus));
}

Invocation usageError(const Command &command, const QString &problem)
{
    Invocation invocation;
    invocation.kind = Invocation::Kind::UsageError;
    invocation.text = QStringLiteral("binzo %1: %2\nUsage: %3\n")
                          .arg(QLatin1String(command.name), problem, QLatin1String(command.usage));
    return invocation;
}

Invocation parseCommand(const Command &command, const QStringList &arguments)
{
    QHash<QString, QString> given;
    QStringList positionals;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString argument = arguments.at(i);
        if (optionsEnded || !argument.startsWith(u'-') || argument == QLatin1String("-")) {
            positionals.append(argument);
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return {Invocation::Kind::Help, {}, commandHelp(command), {}};
        QString value;
        const qsizetype equals = argument.indexOf(u'=');
        const bool inlineValue = equals > 0;
        if (inlineValue) {
            value = argument.mid(equals + 1);
            argument.truncate(equals);
        }
        const auto option = std::find_if(command.options.cbegin(), command.options.cend(),
                                         [&](const Option &o) { return argument == o.name; });
        if (option == command.options.cend())
            return usageError(command, QStringLiteral("unknown option %1").arg(argument));
        if (given.contains(argument))
            return usageError(command, QStringLiteral("%1 is given twice").arg(argument));
        if (option->takesValue && !inlineValue) {
            if (++i >= arguments.size())
                return usageError(command, QStringLiteral("%1 needs a value").arg(argument));
            value = arguments.at(i);
        } else if (!option->takesValue && inlineValue) {
            return usageError(command, QStringLiteral("%1 takes no value").arg(argument));
        }
        given.insert(argument, value);
    }

    const qsizetype expected = command.positional ? 1 : 0;
    if (positionals.size() < expected)
        return usageError(command, QStringLiteral("%1 is missing").arg(command.positional));
    if (positionals.size() > expected)
        return usageError(
            command, QStringLiteral("unexpected argument \"%1\"").arg(positionals.at(expected)));
    for (const char *name : command.required) {
        if (!given.contains(QLatin1String(name)))
            return usageError(command, QStringLiteral("%1 is required").arg(name));
    }

    Invocation invocation;
    invocation.kind = Invocation::Kind::Command;
    CommandRequest &request = invocation.request;
    request.command = QLatin1String(command.name);
    const QString positional = positionals.value(0);
    if (command.positional && positional.isEmpty())
        return usageError(command, QStringLiteral("%1 is empty").arg(command.positional));
    if (QLatin1String(command.positional) == QLatin1String("FILE"))
        request.file = positional;
    else
        request.label = positional;
    if (given.contains(QStringLiteral("--label")))
        request.label = given.value(QStringLiteral("--label"));
    request.binzo = given.value(QStringLiteral("--binzo"));
    request.json = given.contains(QStringLiteral("--json"));
    request.reveal = given.contains(QStringLiteral("--reveal"));
    request.sensitive = given.contains(QStringLiteral("--sensitive"));
    request.withSecrets = given.contains(QStringLiteral("--with-secrets"));
    for (const char *name : {"--binzo", "--label"}) {
        if (given.contains(QLatin1String(name))
            && given.value(QLatin1String(name)).trimmed().isEmpty())
            return usageError(command, QStringLiteral("%1 is empty").arg(name));
    }
    if (given.contains(QLatin1String(kPassphraseFd.name))) {
        bool number = false;
        request.passphraseFd = given.value(QLatin1String(kPassphraseFd.name)).toInt(&number);
        if (!number || request.passphraseFd < 0)
            return usageError(command,
                              QStringLiteral("--passphrase-fd needs a file descriptor number"));
    }
    return invocation;
}

} // namespace

namespace CommandLine {

QString versionText()
{
    return QStringLiteral("binzo " BINZO_VERSION "\n");
}

Invocation parse(const QStringList &arguments)
{
    if (!arguments.isEmpty()) {
        for (const Command &command : kCommands) {
            if (arguments.first() == QLatin1String(command.name))
                return parseCommand(command, arguments.mid(1));
        }
    }
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h")))
        return {Invocation::Kind::Help, {}, generalHelp(), {}};
    if (arguments.contains(QStringLiteral("--version")))
        return {Invocation::Kind::Version, {}, versionText(), {}};
    Invocation invocation;
    // Other options belong to Qt (-platform xcb, -style…), with the word after them.
    bool afterOption = false;
    for (const QString &argument : arguments) {
        const bool isOption = argument.startsWith(u'-');
        const bool isLink = !isOption && argument.contains(u':');
        if (isLink)
            invocation.links.append(argument);
        else if (!isOption && !afterOption)
            return {
                Invocation::Kind::UsageError,
                {},
                QStringLiteral("binzo: unknown command \"%1\"; see binzo --help\n").arg(argument),
                {}};
        afterOption = isOption;
    }
    return invocation;
}

} // namespace CommandLine
