// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "appearance/NeuPalette.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QVariantList>

class Preferences;
class SystemAppearance;

// The appearance as views see it (the QML singleton Theme): the stored choice, the effective
// light or dark appearance and its palette. Follows both the preference and the system
// setting, so every view repaints at once when either changes.
class ThemeController : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString themeRaw READ themeRaw WRITE setThemeRaw NOTIFY themeRawChanged)
    Q_PROPERTY(bool isDark READ isDark NOTIFY appearanceChanged)
    // True for "light" and "dark": the windows force that appearance on their controls.
    Q_PROPERTY(bool isForced READ isForced NOTIFY themeRawChanged)
    Q_PROPERTY(NeuPalette neu READ neu NOTIFY appearanceChanged)
    // The desktop's highlight colour, used where a view asks for the system accent.
    Q_PROPERTY(QColor systemAccent READ systemAccent NOTIFY systemAccentChanged)
    // One map per AppTheme case in picker order: {raw, label, symbol}.
    Q_PROPERTY(QVariantList themes READ themes CONSTANT)
public:
    ThemeController(Preferences &preferences, SystemAppearance &system, QObject *parent = nullptr);
    // Built on Preferences::shared() and the desktop's appearance setting.
    static ThemeController &shared();

    QString themeRaw() const { return m_themeRaw; }
    void setThemeRaw(const QString &raw);
    Appearance appearance() const { return m_appearance; }
    bool isDark() const { return m_appearance == Appearance::Dark; }
    bool isForced() const;
    NeuPalette neu() const { return NeuPalette::forAppearance(m_appearance); }
    QColor systemAccent() const;
    QVariantList themes() const;

    Q_INVOKABLE QColor colorFromHex(const QString &text) const;
    // What a selected row or tab of this binzo colour is filled with (Legibility).
    Q_INVOKABLE QColor selectionFill(const QColor &accent) const;

signals:
    void themeRawChanged();
    void appearanceChanged();
    void systemAccentChanged();

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
