// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/NeuPalette.h"

#include <QList>
#include <QString>

#include <optional>

// The user's appearance choice, stored as its raw string under "binzo.theme".
enum class AppTheme { System, Light, Dark };

namespace AppThemes {

inline const QString kPreferenceKey = QStringLiteral("binzo.theme");

// In picker order.
QList<AppTheme> allCases();
QString rawValue(AppTheme theme);
QString label(AppTheme theme);
QString symbol(AppTheme theme);
// A string that names no case is System.
AppTheme fromRaw(const QString &raw);
// The appearance forced on a window's content: none for System.
std::optional<Appearance> forcedAppearance(const QString &raw);
// System (or an unknown string) follows the operating system; Light and Dark are themselves.
Appearance effectiveAppearance(const QString &raw, Appearance system);

} // namespace AppThemes
