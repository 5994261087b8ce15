// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

namespace {

QString helpText()
{
    return QStringLiteral(
        "Usage: binzo [LINK...]\n"
        "\n"
        "Keeps the short texts you need again and again in named compartments and copies\n"
        "them from a panel that Ctrl+Shift+Space opens over any application.\n"
        "\n"
        "Started while Binzo runs, it opens the panel of the running Binzo.\n"
        "\n"
        "Links:\n"
        "  binzo://open     open the quick panel\n"
        "\n"
        "Options:\n"
        "  -h, --help       show this help and exit\n"
        "      --version    show the version and exit\n");
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine command;
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return {Action::Print, {}, helpText()};
        if (argument == QLatin1String("--version"))
            return {Action::Print, {}, QStringLiteral("binzo " BINZO_VERSION "\n")};
        if (!argument.startsWith(u'-'))
            command.links.append(argument);
    }
    return command;
}
