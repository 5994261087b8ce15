// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Theme.h"

#include "ui/ColorHex.h"
#include "ui/Legibility.h"

#include <QJSEngine>

namespace {

Theme *g_provided = nullptr;

} // namespace

void Theme::provide(Theme *theme)
{
    g_provided = theme;
}

Theme *Theme::create(QQmlEngine *, QJSEngine *)
{
    Q_ASSERT_X(g_provided, "Theme", "no Theme provided before QML used it");
    QJSEngine::setObjectOwnership(g_provided, QJSEngine::CppOwnership);
    return g_provided;
}

QColor Theme::colorFromHex(const QString &text) const
{
    return ::colorFromHex(text);
}

QColor Theme::selectionFill(const QColor &accent) const
{
    return Legibility::selectionFill(accent);
}
