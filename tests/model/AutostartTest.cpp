// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Autostart.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct AutostartTest : ::testing::Test
{
    QTemporaryDir home;
    void SetUp() override { qputenv("XDG_CONFIG_HOME", home.path().toUtf8()); }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }

    QByteArray entry() const
    {
        QFile file(Autostart::entryPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(AutostartTest, SwitchFollowsTheEntryFile)
{
    EXPECT_FALSE(Autostart::isEnabled());
    const Result<void> enabled = Autostart::enable("/usr/bin/binzo");
    ASSERT_TRUE(enabled) << enabled.error().toStdString();
    EXPECT_EQ(Autostart::entryPath(), home.filePath("autostart/binzo.desktop"));
    EXPECT_TRUE(entry().contains("\nExec=/usr/bin/binzo\n"));
    EXPECT_TRUE(Autostart::isEnabled());

    // The user turned it off in the desktop's own startup settings.
    QFile file(Autostart::entryPath());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("Hidden=true\n");
    file.close();
    EXPECT_FALSE(Autostart::isEnabled());

    ASSERT_TRUE(Autostart::disable());
    EXPECT_FALSE(QFile::exists(Autostart::entryPath()));
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
