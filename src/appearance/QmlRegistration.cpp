// SPDX-License-Identifier: GPL-3.0-or-later
#include "appearance/QmlRegistration.h"

#include "appearance/NeuSurface.h"
#include "appearance/SymbolImageProvider.h"
#include "appearance/ThemeController.h"
#include "views/EditorSheets.h"

#include <QQmlEngine>

void registerQmlTypes(QQmlEngine &engine)
{
    static const bool registered = [] {
        qmlRegisterSingletonInstance("Binzo", 1, 0, "Theme", &ThemeController::shared());
        qmlRegisterType<NeuSurface>("Binzo", 1, 0, "NeuSurface");
        EditorSheets::registerQmlTypes();
        return true;
    }();
    Q_UNUSED(registered);
    if (!engine.imageProvider(QStringLiteral("symbol")))
        engine.addImageProvider(QStringLiteral("symbol"), new SymbolImageProvider);
}
