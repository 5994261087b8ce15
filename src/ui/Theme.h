// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/NeuPalette.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

// The appearance as views see it (the QML singleton Theme): the stored choice, the effective
// light or dark appearance and its palette. The application decides them (ThemeController)
// and provides its instance before any view is loaded.
class Theme : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString themeRaw READ themeRaw WRITE setThemeRaw NOTIFY themeRawChanged)
    Q_PROPERTY(bool isDark READ isDark NOTIFY appearanceChanged)
    // True for "light" and "dark": the windows force that appearance on their controls.
    Q_PROPERTY(bool isForced READ isForced NOTIFY themeRawChanged)
    Q_PROPERTY(NeuPalette neu READ neu NOTIFY appearanceChanged)
    // The desktop's highlight colour, used where a view asks for the system accent.
    Q_PROPERTY(QColor systemAccent READ systemAccent NOTIFY systemAccentChanged)
    // One map per theme choice in picker order: {raw, label, symbol}.
    Q_PROPERTY(QVariantList themes READ themes CONSTANT)
public:
    using QObject::QObject;

    // The instance every engine's views get; it must outlive them.
    static void provide(Theme *theme);
    static Theme *create(QQmlEngine *, QJSEngine *);

    virtual QString themeRaw() const = 0;
    virtual void setThemeRaw(const QString &raw) = 0;
    virtual bool isDark() const = 0;
    virtual bool isForced() const = 0;
    virtual NeuPalette neu() const = 0;
    virtual QColor systemAccent() const = 0;
    virtual QVariantList themes() const = 0;

    Q_INVOKABLE QColor colorFromHex(const QString &text) const;
    // What a selected row or tab of this binzo colour is filled with (Legibility).
    Q_INVOKABLE QColor selectionFill(const QColor &accent) const;

signals:
    void themeRawChanged();
    void appearanceChanged();
    void systemAccentChanged();
};
