// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quick/Clipboard.h"

#include <QString>
#include <QVariantList>

#include <chrono>
#include <functional>
#include <optional>

class Preferences;
class TimerScheduler;

// A clipboard that takes a copied secret off again after a delay, and at quit, but only
// while it still holds what was put there: a value copied since, here or in another
// program, is never cleared. Ordinary values stay.
class SecretClipboard : public Clipboard
{
public:
    // clearAfter is asked at each copy of a secret; zero means never.
    SecretClipboard(Clipboard &target, TimerScheduler &timers,
                    std::function<std::chrono::seconds()> clearAfter);

    // "binzo.clipboardClearSeconds": an integer, 0 for never; 30 when absent or invalid.
    static inline const QString kPreferenceKey = QStringLiteral("binzo.clipboardClearSeconds");
    static constexpr std::chrono::seconds kDefaultClearAfter {30};
    static std::chrono::seconds clearAfter(const Preferences &preferences);
    // The choices offered in Settings, as {seconds, label} in order.
    static QVariantList choices();

    void setText(const QString &value, bool isSecret) override;
    bool holds(const QString &value) const override;
    void clear() override;
    // The quit-time clearing: the secret goes if it is still there.
    void clearSecret();

private:
    Clipboard &m_target;
    TimerScheduler &m_timers;
    std::function<std::chrono::seconds()> m_clearAfter;
    std::optional<QString> m_secret; // the secret this clipboard put there last
    quint64 m_copies = 0;
};
