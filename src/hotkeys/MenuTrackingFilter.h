// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkeys/EventType.h"
#include "hotkeys/Shortcut.h"

#include <QObject>
#include <QSet>

#include <functional>

class QWindow;

namespace Hotkeys {

// While one of our popups (a QMenu, any Qt::Popup window) is open it holds the keyboard grab,
// so system-wide grabs cannot fire. This application event filter reports when the first popup
// opens and the last one closes, and in between offers every key event to the hot keys;
// a matched event does not reach the popup.
class MenuTrackingFilter : public QObject
{
    Q_OBJECT
public:
    using TrackingChanged = std::function<void(bool)>;
    // True when the key matched a hot key; a repeat of a held key matches without firing.
    using KeyHandler = std::function<bool(const Shortcut &, EventType, bool isRepeat)>;

    MenuTrackingFilter(TrackingChanged trackingChanged, KeyHandler keyHandler,
                       QObject *parent = nullptr);

    bool isTracking() const { return !m_openPopups.isEmpty(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void popupShown(QWindow *window);
    void popupHidden(QWindow *window);
    bool handleKey(QEvent *event);

    TrackingChanged m_trackingChanged;
    KeyHandler m_keyHandler;
    QSet<QWindow *> m_openPopups;
};

} // namespace Hotkeys
