// SPDX-License-Identifier: GPL-3.0-or-later
#include "appearance/AppTheme.h"

namespace AppThemes {

QList<AppTheme> allCases()
{
    return {AppTheme::System, AppTheme::Light, AppTheme::Dark};
}

QString rawValue(AppTheme theme)
{
    switch (theme) {
    case AppTheme::Light:
        return QStringLiteral("light");
    case AppTheme::Dark:
        return QStringLiteral("dark");
    case AppTheme::System:
        break;
    }
    return QStringLiteral("system");
}

QString label(AppTheme theme)
{
    switch (theme) {
    case AppTheme::Light:
        return QStringLiteral("Light");
    case AppTheme::Dark:
        return QStringLiteral("Dark");
    case AppTheme::System:
        break;
    }
    return QStringLiteral("System");
}

QString symbol(AppTheme theme)
{
    switch (theme) {
    case AppTheme::Light:
        return QStringLiteral("sun.max.fill");
    case AppTheme::Dark:
        return QStringLiteral("moon.fill");
    case AppTheme::System:
        break;
    }
    return QStringLiteral("circle.lefthalf.filled");
}

AppTheme fromRaw(const QString &raw)
{
    for (AppTheme theme : allCases()) {
        if (rawValue(theme) == raw)
            return theme;
    }
    return AppTheme::System;
}

std::optional<Appearance> forcedAppearance(const QString &raw)
{
    switch (fromRaw(raw)) {
    case AppTheme::Light:
        return Appearance::Light;
    case AppTheme::Dark:
        return Appearance::Dark;
    case AppTheme::System:
        break;
    }
    return std::nullopt;
}

Appearance effectiveAppearance(const QString &raw, Appearance system)
{
    return forcedAppearance(raw).value_or(system);
}

} // namespace AppThemes
