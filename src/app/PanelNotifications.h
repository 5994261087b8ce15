// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// The process-wide notifications about the quick panel, delivered on the main thread.
class PanelNotifications : public QObject
{
    Q_OBJECT
public:
    static PanelNotifications &shared()
    {
        static PanelNotifications instance;
        return instance;
    }

signals:
    // "binzoPanelDidShow": at the end of every showing of the panel.
    void binzoPanelDidShow();
};
