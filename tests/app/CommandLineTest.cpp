// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, HelpAndVersionAnswerWhateverElseIsGiven)
{
    const struct
    {
        QStringList arguments;
        CommandLine::Action action;
        QString outputStart;
        QStringList links;
    } cases[] = {
        {{}, CommandLine::Action::Run, {}, {}},
        {{"binzo://open", "binzo:open"},
         CommandLine::Action::Run,
         {},
         {"binzo://open", "binzo:open"}},
        // Qt's own options are left to Qt.
        {{"-reverse", "binzo://open"}, CommandLine::Action::Run, {}, {"binzo://open"}},
        {{"--help"}, CommandLine::Action::Print, "Usage: binzo", {}},
        {{"binzo://open", "-h"}, CommandLine::Action::Print, "Usage: binzo", {}},
        {{"--version"}, CommandLine::Action::Print, "binzo 1.0.0\n", {}},
    };
    for (const auto &c : cases) {
        const CommandLine command = CommandLine::parse(c.arguments);
        const QString what = c.arguments.join(' ');
        EXPECT_EQ(command.action, c.action) << qPrintable(what);
        EXPECT_TRUE(command.output.startsWith(c.outputStart)) << qPrintable(what);
        EXPECT_EQ(command.links, c.links) << qPrintable(what);
    }
}

} // namespace
