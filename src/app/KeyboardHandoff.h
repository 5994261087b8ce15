// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPointer>
#include <QWindow>

// Keeps every key typed between the hot key and the window manager's focus change: while
// active, the keyboard is grabbed on the root window and its key events are handed to the
// panel as if it had focus already. Ends when the panel becomes active, when asked, or after
// a short safety delay.
class KeyboardHandoff : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    explicit KeyboardHandoff(QObject *parent = nullptr);
    ~KeyboardHandoff() override;

    void begin(QWindow *target);
    void end();
    bool isActive() const { return m_active; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    QPointer<QWindow> m_target;
    bool m_active = false;
    QMetaObject::Connection m_activeConnection;
};
