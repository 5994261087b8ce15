// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SingleWindow.h"

#include <QCoreApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>

#include <cstdio>

namespace {

QPointer<QQmlEngine> &sharedEngine()
{
    static QPointer<QQmlEngine> engine;
    return engine;
}

QQmlEngine *engine()
{
    QPointer<QQmlEngine> &engine = sharedEngine();
    if (!engine)
        engine = new QQmlEngine(QCoreApplication::instance());
    return engine;
}

} // namespace

SingleWindow::SingleWindow(QUrl source, QObject *parent)
    : QObject(parent)
    , m_source(std::move(source))
{ }

SingleWindow::~SingleWindow()
{
    // The owners are process-wide: past the application's end there is nothing to close.
    if (QCoreApplication::instance())
        close();
}

void SingleWindow::setEngine(QQmlEngine *engine)
{
    sharedEngine() = engine;
}

QQuickWindow *SingleWindow::showOrRaise(const QVariantMap &initialProperties)
{
    if (!m_window) {
        QQmlComponent component(engine(), m_source);
        QObject *root = component.isReady()
            ? component.createWithInitialProperties(initialProperties)
            : nullptr;
        m_window = qobject_cast<QQuickWindow *>(root);
        if (!m_window) {
            std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
            delete root;
            return nullptr;
        }
        engine()->setObjectOwnership(m_window, QQmlEngine::CppOwnership);
        // A closed window is rebuilt on the next show, so it always opens in its first state.
        connect(m_window, &QWindow::visibleChanged, this, [this](bool visible) {
            if (!visible)
                close();
        });
    }
    m_window->show();
    m_window->raise();
    m_window->requestActivate();
    return m_window;
}

void SingleWindow::close()
{
    if (QQuickWindow *window = m_window) {
        m_window.clear();
        window->hide();
        window->deleteLater();
    }
}
