// SPDX-License-Identifier: GPL-3.0-or-later
#include "appearance/ThemeController.h"

#include "appearance/DesktopAppearance.h"
#include "model/Preferences.h"
#include "ui/ColorHex.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QVariantMap>

ThemeController::ThemeController(Preferences &preferences, SystemAppearance &system,
                                 QObject *parent)
    : Theme(parent)
    , m_preferences(preferences)
    , m_system(system)
{
    reload();
    connect(&m_preferences, &Preferences::valueChanged, this, [this](const QString &key) {
        if (key == AppThemes::kPreferenceKey)
            reload();
    });
    connect(&m_system, &SystemAppearance::changed, this, [this] { apply(m_themeRaw); });
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

ThemeController &ThemeController::shared()
{
    static DesktopAppearance system;
    static ThemeController instance(Preferences::shared(), system);
    return instance;
}

void ThemeController::setThemeRaw(const QString &raw)
{
    if (m_preferences.setString(AppThemes::kPreferenceKey, raw))
        reload();
    else
        apply(raw); // an unwritable preference file still lets the choice hold for this session
}

bool ThemeController::isForced() const
{
    return AppThemes::forcedAppearance(m_themeRaw).has_value();
}

QColor ThemeController::systemAccent() const
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return ::colorFromHex(u"6385F4");
    return QGuiApplication::palette().color(QPalette::Highlight);
}

QVariantList ThemeController::themes() const
{
    QVariantList list;
    for (AppTheme theme : AppThemes::allCases()) {
        list.append(QVariantMap {{QStringLiteral("raw"), AppThemes::rawValue(theme)},
                                 {QStringLiteral("label"), AppThemes::label(theme)},
                                 {QStringLiteral("symbol"), AppThemes::symbol(theme)}});
    }
    return list;
}

bool ThemeController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == QCoreApplication::instance()
        && event->type() == QEvent::ApplicationPaletteChange)
        emit systemAccentChanged();
    return QObject::eventFilter(watched, event);
}

void ThemeController::reload()
{
    apply(m_preferences.string(AppThemes::kPreferenceKey).value_or(QStringLiteral("system")));
}

void ThemeController::apply(const QString &raw)
{
    if (raw != m_themeRaw) {
        m_themeRaw = raw;
        emit themeRawChanged();
    }
    const Appearance appearance = AppThemes::effectiveAppearance(m_themeRaw, m_system.current());
    if (appearance != m_appearance) {
        m_appearance = appearance;
        emit appearanceChanged();
    }
}
