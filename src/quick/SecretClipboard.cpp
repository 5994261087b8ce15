// SPDX-License-Identifier: GPL-3.0-or-later
#include "quick/SecretClipboard.h"

#include "model/Preferences.h"
#include "model/TimerScheduler.h"

#include <QVariantMap>

SecretClipboard::SecretClipboard(Clipboard &target, TimerScheduler &timers,
                                 std::function<std::chrono::seconds()> clearAfter)
    : m_target(target)
    , m_timers(timers)
    , m_clearAfter(std::move(clearAfter))
{ }

std::chrono::seconds SecretClipboard::clearAfter(const Preferences &preferences)
{
    const std::optional<qint64> seconds = preferences.integer(kPreferenceKey);
    if (!seconds || *seconds < 0)
        return kDefaultClearAfter;
    return std::chrono::seconds(*seconds);
}

QVariantList SecretClipboard::choices()
{
    const auto choice = [](int seconds, const QString &label) {
        return QVariantMap {{QStringLiteral("seconds"), seconds}, {QStringLiteral("label"), label}};
    };
    return {choice(0, QStringLiteral("Never")), choice(10, QStringLiteral("10 s")),
            choice(30, QStringLiteral("30 s")), choice(60, QStringLiteral("1 min")),
            choice(120, QStringLiteral("2 min"))};
}

void SecretClipboard::setText(const QString &value, bool isSecret)
{
    const quint64 copy = ++m_copies;
    m_target.setText(value, isSecret);
    m_secret.reset();
    const std::chrono::seconds delay = isSecret ? m_clearAfter() : std::chrono::seconds(0);
    if (delay <= std::chrono::seconds(0))
        return;
    m_secret = value;
    // Only the latest copy's timer may clear; an older one would take a newer value away.
    m_timers.schedule(delay, [this, copy] {
        if (copy == m_copies)
            clearSecret();
    });
}

bool SecretClipboard::holds(const QString &value) const
{
    return m_target.holds(value);
}

void SecretClipboard::clear()
{
    m_secret.reset();
    m_target.clear();
}

void SecretClipboard::clearSecret()
{
    if (m_secret && m_target.holds(*m_secret))
        m_target.clear();
    m_secret.reset();
}
