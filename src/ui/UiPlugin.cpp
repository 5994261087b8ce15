// SPDX-License-Identifier: GPL-3.0-or-later
// The Binzo.Ui module's plugin: besides its types, every engine that imports the module gets
// the "symbol" image provider that Symbol draws with.
#include "ui/SymbolImageProvider.h"

#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>

void qml_register_types_Binzo_Ui();

class UiPlugin : public QQmlEngineExtensionPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QQmlEngineExtensionInterface_iid)
public:
    explicit UiPlugin(QObject *parent = nullptr)
        : QQmlEngineExtensionPlugin(parent)
    {
        // Keeps the generated type registration linked into static builds.
        volatile auto registration = &qml_register_types_Binzo_Ui;
        Q_UNUSED(registration);
    }

    void initializeEngine(QQmlEngine *engine, const char *) override
    {
        if (!engine->imageProvider(QStringLiteral("symbol")))
            engine->addImageProvider(QStringLiteral("symbol"), new SymbolImageProvider);
    }
};

#include "UiPlugin.moc"
