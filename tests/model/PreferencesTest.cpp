// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "model/Preferences.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct PreferencesTest : ::testing::Test
{
    QTemporaryDir dir;
    QString path = dir.filePath("binzo/preferences.json");
    Preferences prefs {path};
};

TEST_F(PreferencesTest, RemoveAndChangeNotification)
{
    QSignalSpy spy(&prefs, &Preferences::valueChanged);
    prefs.setString("binzo.theme", "light");
    prefs.setString("binzo.theme", "light"); // unchanged: no notification
    prefs.remove("binzo.theme");
    prefs.remove("binzo.theme");
    ASSERT_EQ(spy.size(), 2);
    EXPECT_EQ(spy.at(0).at(0).toString(), "binzo.theme");
    EXPECT_FALSE(prefs.contains("binzo.theme"));
}

// The damaged file is kept for the user, and, like the new file and the lock, is theirs
// alone even when it was readable by others.
TEST_F(PreferencesTest, CorruptFileIsMovedAsideAndDefaultsApply)
{
    ASSERT_TRUE(writeFile(path, "{\"binzo.theme\": \"dark\", oops"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);

    EXPECT_EQ(prefs.string("binzo.theme"), std::nullopt);
    const QStringList aside
        = QDir(dir.filePath("binzo")).entryList({"preferences.json.corrupt-*"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(fileContents(dir.filePath("binzo/" + aside.first())),
              "{\"binzo.theme\": \"dark\", oops");

    EXPECT_TRUE(prefs.setString("binzo.theme", "light"));
    EXPECT_EQ(Preferences(path).string("binzo.theme"), "light");
    const QFileInfoList files = QDir(dir.filePath("binzo")).entryInfoList(QDir::Files);
    EXPECT_EQ(files.size(), 3); // the preferences, their lock, the damaged copy
    for (const QFileInfo &written : files)
        EXPECT_EQ(fileMode(written.filePath()), 0600u) << qPrintable(written.fileName());
}

} // namespace
