// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/OutsideClickMonitor.h"

#include "platform/x11/X11Connection.h"

#include <QCoreApplication>

#include <xcb/xinput.h>

namespace {

constexpr uint32_t kLeftButton = 1;
constexpr uint32_t kRightButton = 3;

} // namespace

OutsideClickMonitor::OutsideClickMonitor(QObject *parent)
    : QObject(parent)
{
    if (xcb_connection_t *c = X11Connection::connection()) {
        const xcb_query_extension_reply_t *extension = xcb_get_extension_data(c, &xcb_input_id);
        if (extension && extension->present)
            m_xinputOpcode = extension->major_opcode;
    }
}

OutsideClickMonitor::~OutsideClickMonitor()
{
    remove();
}

bool OutsideClickMonitor::install(std::function<void()> onPress)
{
    remove();
    if (m_xinputOpcode < 0)
        return false;
    m_onPress = std::move(onPress);
    selectRawPresses(true);
    QCoreApplication::instance()->installNativeEventFilter(this);
    m_installed = true;
    return true;
}

void OutsideClickMonitor::remove()
{
    if (!m_installed)
        return;
    m_installed = false;
    selectRawPresses(false);
    QCoreApplication::instance()->removeNativeEventFilter(this);
    m_onPress = nullptr;
}

void OutsideClickMonitor::selectRawPresses(bool on)
{
    xcb_connection_t *c = X11Connection::connection();
    struct
    {
        xcb_input_event_mask_t header;
        uint32_t mask;
    } selection {{XCB_INPUT_DEVICE_ALL_MASTER, 1},
                 on ? uint32_t(XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS) : 0u};
    xcb_input_xi_select_events(c, X11Connection::rootWindow(), 1, &selection.header);
    xcb_flush(c);
}

bool OutsideClickMonitor::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (!m_installed || eventType != "xcb_generic_event_t")
        return false;
    auto *event = static_cast<xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7F) != XCB_GE_GENERIC)
        return false;
    auto *generic = static_cast<xcb_ge_generic_event_t *>(message);
    if (generic->extension != m_xinputOpcode || generic->event_type != XCB_INPUT_RAW_BUTTON_PRESS)
        return false;
    auto *press = static_cast<xcb_input_raw_button_press_event_t *>(message);
    if (press->detail == kLeftButton || press->detail == kRightButton) {
        // The handler may remove this monitor; keep the callback alive through the call.
        const std::function<void()> onPress = m_onPress;
        if (onPress)
            onPress();
    }
    return false;
}
