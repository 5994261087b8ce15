// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickWindow>
#include <QUrl>
#include <QVariantMap>

class QQmlEngine;

// At most one window built from a QML file whose root is a Window: showing it again raises
// the open one instead of building a second.
class SingleWindow : public QObject
{
    Q_OBJECT
public:
    enum class Placement {
        // Where the window manager puts it.
        System,
        // Centred in the available area of the screen that holds the pointer.
        Centred,
    };

    explicit SingleWindow(QUrl source, Placement placement = Placement::System,
                          QObject *parent = nullptr);
    ~SingleWindow() override;

    // The engine every window is built in; the shell hands over its own at start-up so the
    // windows share its types and singletons. Without one, a private engine is made.
    static void setEngine(QQmlEngine *engine);

    // Builds the window with these initial properties, or raises the open one. Null (with the
    // QML errors on standard error) when the file cannot be built.
    QQuickWindow *showOrRaise(const QVariantMap &initialProperties);
    QQuickWindow *window() const { return m_window; }
    void close();

private:
    QUrl m_source;
    Placement m_placement;
    QPointer<QQuickWindow> m_window;
};
