// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DesktopNotifier.h"

#include "app/Logging.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

#include <cstdio>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
// A service that does not answer in this time is as good as none.
constexpr int kCallTimeoutMs = 5000;
// "default" is what most services run on a click on the notification itself.
const QString kDefaultAction = QStringLiteral("default");
const QString kButtonAction = QStringLiteral("open");

} // namespace

DesktopNotifier::DesktopNotifier(QDBusConnection bus, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
    m_bus.connect(kService, kPath, kService, QStringLiteral("ActionInvoked"), this,
                  SLOT(handleActionInvoked(uint, QString)));
    m_bus.connect(kService, kPath, kService, QStringLiteral("NotificationClosed"), this,
                  SLOT(handleClosed(uint, uint)));
}

void DesktopNotifier::notify(const Notice &notice)
{
    // Also on standard error, for whoever runs Binzo from a terminal or reads the journal.
    qCWarning(lcApp, "%s", qPrintable(notice.body));
    QStringList actions;
    if (notice.action)
        actions << kDefaultAction << notice.actionLabel << kButtonAction << notice.actionLabel;
    QDBusMessage call
        = QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
    const QVariantMap hints {{QStringLiteral("desktop-entry"), QStringLiteral("binzo")},
                             {QStringLiteral("urgency"), QVariant::fromValue(uchar(1))}};
    call << QStringLiteral("Binzo") << uint(0) << QStringLiteral("binzo") << notice.summary
         << notice.body << actions << hints << int(-1);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, notice] {
        watcher->deleteLater();
        const QDBusPendingReply<uint> reply = *watcher;
        if (reply.isError()) {
            if (m_fallback)
                m_fallback(notice);
            return;
        }
        if (notice.action)
            m_actions.insert(reply.value(), notice.action);
    });
}

void DesktopNotifier::handleActionInvoked(uint id, const QString &actionKey)
{
    const auto found = m_actions.constFind(id);
    if (found == m_actions.cend() || (actionKey != kDefaultAction && actionKey != kButtonAction))
        return;
    const std::function<void()> action = *found;
    action();
}

void DesktopNotifier::handleClosed(uint id, uint)
{
    m_actions.remove(id);
}
