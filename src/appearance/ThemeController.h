// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "appearance/AppTheme.h"
#include "ui/Theme.h"

class Preferences;
class SystemAppearance;

// The views' Theme, decided by the stored choice and the system setting: follows both, so
// every view repaints at once when either changes.
class ThemeController : public Theme
{
    Q_OBJECT
public:
    ThemeController(Preferences &preferences, SystemAppearance &system, QObject *parent = nullptr);
    // Built on Preferences::shared() and the desktop's appearance setting.
    static ThemeController &shared();

    QString themeRaw() const override { return m_themeRaw; }
    void setThemeRaw(const QString &raw) override;
    Appearance appearance() const { return m_appearance; }
    bool isDark() const override { return m_appearance == Appearance::Dark; }
    bool isForced() const override;
    NeuPalette neu() const override { return NeuPalette::forAppearance(m_appearance); }
    QColor systemAccent() const override;
    QVariantList themes() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void reload();
    void apply(const QString &raw);

    Preferences &m_preferences;
    SystemAppearance &m_system;
    QString m_themeRaw;
    Appearance m_appearance = Appearance::Light;
};
