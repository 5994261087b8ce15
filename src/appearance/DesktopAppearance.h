// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "appearance/SystemAppearance.h"

#include <QDBusVariant>
#include <QVariant>

#include <optional>

// Reads org.freedesktop.appearance color-scheme through the settings portal and follows its
// changes. Until the portal answers, or when it has no preference or is absent, the
// application palette's window colour decides. Never blocks: the portal is asked asynchronously.
class DesktopAppearance : public SystemAppearance
{
    Q_OBJECT
public:
    explicit DesktopAppearance(QObject *parent = nullptr);
    Appearance current() const override;

    // The portal's color-scheme value (0 none, 1 dark, 2 light), possibly wrapped in variants.
    static std::optional<Appearance> fromColorScheme(const QVariant &value);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void onSettingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value);

private:
    void setPortalValue(std::optional<Appearance> value);
    void requestPortalValue();

    std::optional<Appearance> m_portal;
    Appearance m_last = Appearance::Light;
};
