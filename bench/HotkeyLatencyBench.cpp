// SPDX-License-Identifier: GPL-3.0-or-later
// Time from a key event to the hot-key action, on a real X server:
//   tests/harness/with-desktop.sh build/dev/bench/bench_hotkey_latency [presses]
// Another X client injects Ctrl+Shift+Space through XTEST. Reported: injection -> action
// (server and event loop included) and arrival of the X event in the process -> action.
#include "hotkeys/Hotkeys.h"
#include "model/Preferences.h"
#include "platform/x11/X11HotkeyBackend.h"

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <sys/uio.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The XTEST FakeInput request, sent by hand: its client library is not part of the build.
struct FakeInputRequest
{
    quint8 majorOpcode;
    quint8 minorOpcode;
    quint16 length;
    quint8 type;
    quint8 detail;
    quint8 pad0[2];
    quint32 time;
    quint32 root;
    quint8 pad1[8];
    qint16 rootX;
    qint16 rootY;
    quint8 pad2[7];
    quint8 deviceId;
};
static_assert(sizeof(FakeInputRequest) == 36);

xcb_extension_t g_xtest = {"XTEST", 0};

void fakeKey(xcb_connection_t *connection, bool press, quint8 keycode)
{
    static const xcb_protocol_request_t request = {2, &g_xtest, 2, 1};
    FakeInputRequest body {};
    body.type = press ? XCB_KEY_PRESS : XCB_KEY_RELEASE;
    body.detail = keycode;
    iovec parts[4];
    parts[2].iov_base = &body;
    parts[2].iov_len = sizeof(body);
    parts[3].iov_base = nullptr;
    parts[3].iov_len = 0;
    xcb_send_request(connection, 0, parts + 2, &request);
}

struct ArrivalClock : QAbstractNativeEventFilter
{
    bool nativeEventFilter(const QByteArray &, void *message, qintptr *) override
    {
        if ((static_cast<xcb_generic_event_t *>(message)->response_type & 0x7f) == XCB_KEY_PRESS)
            arrivedNs = clock->nsecsElapsed();
        return false;
    }
    const QElapsedTimer *clock = nullptr;
    qint64 arrivedNs = 0;
};

void report(const char *what, std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    std::printf("%-28s median %.3f ms  min %.3f ms  max %.3f ms  (n=%zu)\n", what,
                samples[samples.size() / 2], samples.front(), samples.back(), samples.size());
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;

    QTemporaryDir dir;
    Preferences preferences(dir.filePath("preferences.json"));
    auto hotkeys
        = std::make_unique<Hotkeys::Registry>(preferences, Hotkeys::X11HotkeyBackend::create());
    if (!hotkeys->backend()) {
        std::fputs("bench_hotkey_latency: needs an X server\n", stderr);
        return 1;
    }
    QElapsedTimer clock;
    clock.start();
    ArrivalClock arrival;
    arrival.clock = &clock;
    app.installNativeEventFilter(&arrival);

    qint64 calledNs = 0;
    QEventLoop waiting;
    hotkeys->onKeyDown(Hotkeys::Name::togglePanel(), [&] {
        calledNs = clock.nsecsElapsed();
        waiting.quit();
    });

    QTimer timeout;
    timeout.setInterval(2000);
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &waiting, &QEventLoop::quit);

    xcb_connection_t *sender = xcb_connect(nullptr, nullptr);
    const quint8 ctrl = 37, shift = 50, space = 65;
    std::vector<double> injected, inProcess;
    for (int i = 0; i < presses; ++i) {
        fakeKey(sender, true, ctrl);
        fakeKey(sender, true, shift);
        calledNs = 0;
        const qint64 sentNs = clock.nsecsElapsed();
        fakeKey(sender, true, space);
        xcb_flush(sender);
        // An event loop, not a polling wait: the action ends it the moment it runs.
        timeout.start();
        waiting.exec();
        timeout.stop();
        if (calledNs == 0) {
            std::fputs("bench_hotkey_latency: the action was not called\n", stderr);
            return 1;
        }
        injected.push_back((calledNs - sentNs) / 1e6);
        inProcess.push_back((calledNs - arrival.arrivedNs) / 1e6);
        fakeKey(sender, false, space);
        fakeKey(sender, false, shift);
        fakeKey(sender, false, ctrl);
        xcb_flush(sender);
        QTest::qWait(30);
    }
    xcb_disconnect(sender);
    report("XTEST injection -> action", injected);
    report("X event arrival -> action", inProcess);
    return 0;
}
