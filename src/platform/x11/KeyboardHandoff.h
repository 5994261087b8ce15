// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWindow>

// Keeps every key typed between the hot key and the window manager's focus change: while
// active, the keyboard is grabbed on the root window and its keys are handed to the panel as
// if it had focus already. Build it before the hot-key backend is installed, so that the
// backend still sees every key on the root window first. Ends
// once the X input focus is on the panel and no key is held (a key released after the grab
// would reach the panel, not the hot-key layer that saw it go down), when asked, or after a
// short safety delay.
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
    void endWhenKeysAreUp();
    void endIfHandedOver();
    bool focusIsOnTarget() const;
    static bool anyKeyDown();

    QPointer<QWindow> m_target;
    bool m_active = false;
    bool m_endPending = false;
    QMetaObject::Connection m_activeConnection;
    QTimer m_poll;
    QTimer m_safety;
};
