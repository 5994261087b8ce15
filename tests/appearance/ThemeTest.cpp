// SPDX-License-Identifier: GPL-3.0-or-later
#include "appearance/DesktopAppearance.h"
#include "appearance/ThemeController.h"
#include "model/Preferences.h"

#include <QDBusVariant>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class FakeSystemAppearance : public SystemAppearance
{
public:
    Appearance value = Appearance::Light;
    Appearance current() const override { return value; }
    void set(Appearance appearance)
    {
        value = appearance;
        emit changed();
    }
};

TEST(DesktopAppearance, PortalColorSchemeValues)
{
    EXPECT_EQ(DesktopAppearance::fromColorScheme(QVariant(1u)), Appearance::Dark);
    EXPECT_EQ(DesktopAppearance::fromColorScheme(QVariant(2u)), Appearance::Light);
    EXPECT_EQ(DesktopAppearance::fromColorScheme(QVariant(0u)), std::nullopt);
    EXPECT_EQ(DesktopAppearance::fromColorScheme(QVariant(7u)), std::nullopt);
    EXPECT_EQ(DesktopAppearance::fromColorScheme(QVariant()), std::nullopt);
    // Read() wraps the value twice.
    const QVariant wrapped
        = QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(QVariant(1u)))));
    EXPECT_EQ(DesktopAppearance::fromColorScheme(wrapped), Appearance::Dark);
}

struct ThemeControllerTest : ::testing::Test
{
    QTemporaryDir dir;
    Preferences prefs {dir.filePath("binzo/preferences.json")};
    FakeSystemAppearance system;
};

// The theme follows the system until a choice is made, here or in the preferences file by
// another hand; a forced choice ignores the system.
TEST_F(ThemeControllerTest, FollowsTheChoiceThenTheSystem)
{
    ThemeController theme(prefs, system);
    EXPECT_EQ(theme.themeRaw(), "system");
    EXPECT_FALSE(theme.isDark());
    QSignalSpy repaints(&theme, &ThemeController::appearanceChanged);
    system.set(Appearance::Dark);
    EXPECT_TRUE(theme.isDark());
    EXPECT_EQ(theme.neu(), NeuPalette::forAppearance(Appearance::Dark));
    EXPECT_EQ(repaints.size(), 1);

    theme.setThemeRaw("light");
    EXPECT_EQ(prefs.string("binzo.theme"), "light");
    EXPECT_FALSE(theme.isDark());
    EXPECT_TRUE(theme.isForced());
    EXPECT_EQ(repaints.size(), 2);
    system.set(Appearance::Light);
    system.set(Appearance::Dark);
    EXPECT_EQ(repaints.size(), 2);
    EXPECT_FALSE(ThemeController(prefs, system).isDark()) << "the choice is read at start";

    prefs.setString("binzo.theme", "nonsense"); // unknown names behave as system
    EXPECT_EQ(theme.themeRaw(), "nonsense");
    EXPECT_TRUE(theme.isDark());
    EXPECT_FALSE(theme.isForced());

    system.set(Appearance::Light);
    theme.setThemeRaw("dark");
    EXPECT_TRUE(theme.isDark());
    EXPECT_TRUE(theme.isForced());
    theme.setThemeRaw("Dark"); // names are exact
    EXPECT_FALSE(theme.isDark());
    EXPECT_FALSE(theme.isForced());
}

} // namespace
