// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SingleWindow.h"

#include "app/Logging.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QScreen>

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

SingleWindow::SingleWindow(QUrl source, Placement placement, QObject *parent)
    : QObject(parent)
    , m_source(std::move(source))
    , m_placement(placement)
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
            qCWarning(lcApp, "%s", qPrintable(component.errorString()));
            delete root;
            return nullptr;
        }
        engine()->setObjectOwnership(m_window, QQmlEngine::CppOwnership);
        // A closed window is rebuilt on the next show, so it always opens in its first state.
        connect(m_window, &QWindow::visibleChanged, this, [this](bool visible) {
            if (!visible)
                close();
        });
        if (m_placement == Placement::Centred) {
            QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
            if (!screen)
                screen = QGuiApplication::primaryScreen();
            if (screen) {
                QRect frame(QPoint(), m_window->size());
                frame.moveCenter(screen->availableGeometry().center());
                m_window->setScreen(screen);
                m_window->setPosition(frame.topLeft());
            }
        }
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
