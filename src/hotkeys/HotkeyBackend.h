// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkeys/EventType.h"
#include "hotkeys/Shortcut.h"
#include "model/Result.h"

#include <functional>

namespace Hotkeys {

// A system-wide hot-key service: registers a combination under a process-unique id and
// reports its presses and releases by that id, once per physical press (auto-repeat hidden).
class HotkeyBackend
{
public:
    using Id = quint32;
    using Handler = std::function<void(Id, EventType)>;
    // A registration the backend had to give up, with the platform's status number.
    using LostHandler = std::function<void(Id, int status)>;

    // The status of a combination that another program holds (X11's BadAccess).
    static constexpr int kHeldElsewhere = 10;

    virtual ~HotkeyBackend() = default;

    // A Failure whose code is the platform's status number when it refuses (on X11 the error
    // code: 10 is BadAccess, another client holds the combination).
    virtual Result<void> registerHotkey(Id id, const Shortcut &shortcut) = 0;
    virtual void unregisterHotkey(Id id) = 0;
    // Whether another program holds the combination right now (a trial registration).
    virtual bool isHeldElsewhere(const Shortcut &shortcut) = 0;

    void setHandler(Handler handler) { m_handler = std::move(handler); }
    void setLostHandler(LostHandler handler) { m_lostHandler = std::move(handler); }

protected:
    void deliver(Id id, EventType type) const
    {
        if (m_handler)
            m_handler(id, type);
    }
    void reportLost(Id id, int status) const
    {
        if (m_lostHandler)
            m_lostHandler(id, status);
    }

private:
    Handler m_handler;
    LostHandler m_lostHandler;
};

} // namespace Hotkeys
