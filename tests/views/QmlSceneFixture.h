// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "appearance/ThemeController.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// A QML scene shown in an active window of the software scene graph, with the Binzo modules.
class QmlSceneFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        // The Theme singleton binds to the first engine that uses it: one engine for all.
        Theme::provide(&ThemeController::shared());
        s_engine = new QQmlEngine;
    }
    static void TearDownTestSuite() { delete s_engine; }

    // Builds the scene (QML text) and shows it; null with a test failure when it does not load.
    QQuickItem *show(const char *scene, QSize size)
    {
        QQmlComponent component(s_engine);
        component.setData(scene, QUrl(QStringLiteral("qrc:/qml/TestScene.qml")));
        m_scene.reset(qobject_cast<QQuickItem *>(component.create()));
        EXPECT_TRUE(m_scene) << qPrintable(component.errorString());
        if (!m_scene)
            return nullptr;
        m_scene->setParentItem(m_window.contentItem());
        m_window.resize(size);
        m_window.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&m_window));
        return m_scene.get();
    }

    static inline QQmlEngine *s_engine = nullptr;
    QQuickWindow m_window;
    std::unique_ptr<QQuickItem> m_scene;
};
