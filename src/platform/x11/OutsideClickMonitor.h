// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <functional>

// Reports left and right button presses anywhere on the X display (XInput2 raw events on the
// root window, which arrive whichever client the pointer is over) while installed.
class OutsideClickMonitor : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    explicit OutsideClickMonitor(QObject *parent = nullptr);
    ~OutsideClickMonitor() override;

    // False where raw events are unavailable (no X11, no XInput 2.1): nothing is reported then.
    bool install(std::function<void()> onPress);
    void remove();
    bool isInstalled() const { return m_installed; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    void selectRawPresses(bool on);

    std::function<void()> m_onPress;
    bool m_installed = false;
    int m_xinputOpcode = -1;
};
