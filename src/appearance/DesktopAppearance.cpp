// SPDX-License-Identifier: GPL-3.0-or-later
#include "appearance/DesktopAppearance.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QEvent>
#include <QGuiApplication>
#include <QPalette>

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString kNamespace = QStringLiteral("org.freedesktop.appearance");
const QString kKey = QStringLiteral("color-scheme");
constexpr int kPortalTimeoutMs = 1000;

Appearance paletteAppearance()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return Appearance::Light;
    const QColor window = QGuiApplication::palette().color(QPalette::Window);
    return window.lightnessF() < 0.5 ? Appearance::Dark : Appearance::Light;
}

} // namespace

DesktopAppearance::DesktopAppearance(QObject *parent)
    : SystemAppearance(parent)
{
    m_last = current();
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(kService, kPath, kInterface, QStringLiteral("SettingChanged"), this,
                SLOT(onSettingChanged(QString, QString, QDBusVariant)));
    requestPortalValue();
}

Appearance DesktopAppearance::current() const
{
    return m_portal.value_or(paletteAppearance());
}

std::optional<Appearance> DesktopAppearance::fromColorScheme(const QVariant &value)
{
    QVariant inner = value;
    // Read() answers with a variant inside a variant; signals carry one level.
    while (inner.canConvert<QDBusVariant>() && inner.userType() == qMetaTypeId<QDBusVariant>())
        inner = inner.value<QDBusVariant>().variant();
    bool ok = false;
    const uint scheme = inner.toUInt(&ok);
    if (!ok)
        return std::nullopt;
    if (scheme == 1)
        return Appearance::Dark;
    if (scheme == 2)
        return Appearance::Light;
    return std::nullopt;
}

bool DesktopAppearance::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == QCoreApplication::instance()
        && event->type() == QEvent::ApplicationPaletteChange)
        setPortalValue(m_portal);
    return SystemAppearance::eventFilter(watched, event);
}

void DesktopAppearance::onSettingChanged(const QString &nameSpace, const QString &key,
                                         const QDBusVariant &value)
{
    if (nameSpace == kNamespace && key == kKey)
        setPortalValue(fromColorScheme(value.variant()));
}

void DesktopAppearance::requestPortalValue()
{
    QDBusMessage message
        = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Read"));
    message << kNamespace << kKey;
    auto *watcher = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(message, kPortalTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        const QDBusPendingReply<QVariant> reply = *w;
        if (!reply.isError())
            setPortalValue(fromColorScheme(reply.value()));
        w->deleteLater();
    });
}

void DesktopAppearance::setPortalValue(std::optional<Appearance> value)
{
    m_portal = value;
    const Appearance now = current();
    if (now == m_last)
        return;
    m_last = now;
    emit changed();
}
