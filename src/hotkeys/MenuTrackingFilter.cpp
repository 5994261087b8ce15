// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/MenuTrackingFilter.h"

#include <QKeyEvent>
#include <QWindow>

namespace Hotkeys {

MenuTrackingFilter::MenuTrackingFilter(TrackingChanged trackingChanged, KeyHandler keyHandler,
                                       QObject *parent)
    : QObject(parent)
    , m_trackingChanged(std::move(trackingChanged))
    , m_keyHandler(std::move(keyHandler))
{ }

bool MenuTrackingFilter::eventFilter(QObject *watched, QEvent *event)
{
    // Only QWindow receivers: a widget gets the same key event again from its window.
    auto *window = qobject_cast<QWindow *>(watched);
    if (!window)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        if (window->type() == Qt::Popup)
            popupShown(window);
        return false;
    case QEvent::Hide:
        popupHidden(window);
        return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return isTracking() && handleKey(event);
    default:
        return false;
    }
}

void MenuTrackingFilter::popupShown(QWindow *window)
{
    if (m_openPopups.contains(window))
        return;
    m_openPopups.insert(window);
    connect(window, &QObject::destroyed, this, [this, window] { popupHidden(window); });
    if (m_openPopups.size() == 1)
        m_trackingChanged(true);
}

void MenuTrackingFilter::popupHidden(QWindow *window)
{
    if (!m_openPopups.remove(window))
        return;
    disconnect(window, &QObject::destroyed, this, nullptr);
    if (m_openPopups.isEmpty())
        m_trackingChanged(false);
}

bool MenuTrackingFilter::handleKey(QEvent *event)
{
    const auto *keyEvent = static_cast<QKeyEvent *>(event);
    const std::optional<Shortcut> shortcut = Shortcut::fromKeyEvent(*keyEvent);
    if (!shortcut)
        return false;
    const EventType type
        = event->type() == QEvent::KeyPress ? EventType::keyDown : EventType::keyUp;
    return m_keyHandler(*shortcut, type, keyEvent->isAutoRepeat());
}

} // namespace Hotkeys
