// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>

class DataController;
class TimerScheduler;

// Quit Binzo: quits once every change is on disk, sensitive values in the secret store
// included. Changes that still cannot be saved after a few seconds of retrying are not
// dropped silently: the user is asked ("N changes could not be saved: <reason>") whether to
// quit anyway; if not, Binzo keeps running and retrying.
class QuitRequest : public QObject
{
    Q_OBJECT
public:
    // ask shows the question and returns true for "Quit Anyway".
    using Ask = std::function<bool(const QString &question)>;

    QuitRequest(DataController &store, TimerScheduler &timers, Ask ask, std::function<void()> quit,
                QObject *parent = nullptr);

    static constexpr std::chrono::milliseconds kRetryInterval {250};
    static constexpr std::chrono::milliseconds kPatience {3000};

    // A second request while one waits changes nothing.
    void start();

private:
    void attempt(int attemptsLeft);

    DataController &m_store;
    TimerScheduler &m_timers;
    Ask m_ask;
    std::function<void()> m_quit;
    bool m_waiting = false;
};
