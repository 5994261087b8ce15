// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "model/Autostart.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

struct AutostartTest : ::testing::Test
{
    TestEnvironment environment;
};

// Writing the entry and taking it away again is the command-line scenario's; here, what only a
// user's own hand makes.
TEST_F(AutostartTest, AHiddenEntryIsOffAndAMissingOneNeedsNoRemoving)
{
    const Result<void> enabled = Autostart::enable("/usr/bin/binzo");
    ASSERT_TRUE(enabled) << enabled.error().toStdString();
    EXPECT_TRUE(Autostart::isEnabled());
    // Turned off in the desktop's own startup settings.
    QFile file(Autostart::entryPath());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("Hidden=true\n");
    file.close();
    EXPECT_FALSE(Autostart::isEnabled());

    ASSERT_TRUE(Autostart::disable());
    EXPECT_TRUE(Autostart::disable()) << "removing what is not there is not a failure";
}

TEST_F(AutostartTest, ExecQuotesPathsTheDesktopWouldSplit)
{
    const struct
    {
        QString path;
        QString exec;
    } cases[] = {
        {"/home/ann/.local/bin/binzo", "/home/ann/.local/bin/binzo"},
        {"/home/ann/My Apps/binzo", "\"/home/ann/My Apps/binzo\""},
        {"/opt/$weird\"dir/binzo", "\"/opt/\\\\$weird\\\\\"dir/binzo\""},
        {"/opt/100%/binzo", "\"/opt/100%%/binzo\""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Autostart::execValue(c.path), c.exec) << c.path.toStdString();
}

} // namespace
