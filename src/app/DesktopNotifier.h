// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

// Tells the user about a failure that happens outside any window: a notification through the
// desktop's notification service (org.freedesktop.Notifications on the session bus) or, where
// none answers, through the fallback (the tray icon's message). Never waits for the service.
class DesktopNotifier : public QObject
{
    Q_OBJECT
public:
    struct Notice
    {
        QString summary;
        QString body;
        // The button's text and what it does; no button without an action.
        QString actionLabel;
        std::function<void()> action;
    };
    using Fallback = std::function<void(const Notice &)>;

    explicit DesktopNotifier(QDBusConnection bus, QObject *parent = nullptr);

    void setFallback(Fallback fallback) { m_fallback = std::move(fallback); }
    void notify(const Notice &notice);

private slots:
    void handleActionInvoked(uint id, const QString &actionKey);
    void handleClosed(uint id, uint reason);

private:
    QDBusConnection m_bus;
    Fallback m_fallback;
    QHash<uint, std::function<void()>> m_actions; // by notification id
};
