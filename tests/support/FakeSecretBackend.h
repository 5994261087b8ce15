// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/secrets/SecretBackend.h"

#include <QMap>

#include <chrono>
#include <condition_variable>
#include <mutex>

// An in-memory secret store for tests, shared with the test after the backend is handed to
// KeychainStore (its calls run on the store's thread). It can refuse writes, be locked (its
// unlock prompt waits until the test answers it), or hang like a stopped daemon: calls then
// give no answer (Unknown) after a short while, and the changes they asked for take effect,
// in order, once the test lets it go on, as a daemon's queued requests do.
class FakeSecretBackend : public SecretBackend
{
public:
    class State
    {
    public:
        std::optional<QByteArray> value(const QString &account) const
        {
            Lock lock(m_mutex);
            return m_items.contains(account) ? std::optional(m_items.value(account)) : std::nullopt;
        }
        QString label(const QString &account) const
        {
            Lock lock(m_mutex);
            return m_labels.value(account);
        }
        QStringList accounts() const
        {
            Lock lock(m_mutex);
            return m_items.keys();
        }
        int prompts() const
        {
            Lock lock(m_mutex);
            return m_prompts;
        }
        void put(const QString &account, const QByteArray &value, const QString &label = {})
        {
            Lock lock(m_mutex);
            m_items.insert(account, value);
            m_labels.insert(account, label);
        }
        void clear()
        {
            Lock lock(m_mutex);
            m_items.clear();
            m_labels.clear();
        }
        void setFailWrites(bool fail) { set(&State::m_failWrites, fail); }
        void setLocked(bool locked) { set(&State::m_locked, locked); }
        // Calls from now on wait up to timeoutMs for resume() and then get no answer;
        // resume() carries out what they asked for.
        void hang(int timeoutMs = 0)
        {
            Lock lock(m_mutex);
            m_hung = true;
            m_timeoutMs = timeoutMs;
        }
        void resume()
        {
            Lock lock(m_mutex);
            m_hung = false;
            for (const auto &change : std::exchange(m_queued, {}))
                change();
            m_resumed.notify_all();
        }
        // The person answers the unlock prompt (the next one, when none is open).
        void answerPrompt(bool unlock)
        {
            Lock lock(m_mutex);
            m_answer = unlock;
            m_prompted.notify_all();
        }

    private:
        friend class FakeSecretBackend;
        using Lock = std::lock_guard<std::mutex>;
        void set(bool State::*flag, bool on)
        {
            Lock lock(m_mutex);
            this->*flag = on;
        }
        mutable std::mutex m_mutex;
        std::condition_variable m_prompted;
        std::condition_variable m_resumed;
        int m_timeoutMs = 0;
        QMap<QString, QByteArray> m_items; // by account
        QMap<QString, QString> m_labels;
        bool m_failWrites = false;
        bool m_locked = false;
        bool m_hung = false;
        QList<std::function<void()>> m_queued;
        std::optional<bool> m_answer;
        int m_prompts = 0;
    };

    explicit FakeSecretBackend(State *state)
        : m_state(state)
    { }

    SecretResult write(const QString &, const QString &account, const QString &label,
                       const QByteArray &value) override
    {
        if (State::Lock lock(m_state->m_mutex); m_state->m_failWrites)
            return SecretResult::failure(SecretResult::Status::Failed, "refused by the test");
        return change([=, this] {
            m_state->m_items.insert(account, value);
            m_state->m_labels.insert(account, label);
        });
    }
    SecretResult read(const QString &, const QString &account) override
    {
        std::unique_lock lock(m_state->m_mutex);
        if (!answers(lock))
            return unanswered();
        if (!m_state->m_items.contains(account))
            return SecretResult::failure(SecretResult::Status::Missing, {});
        if (m_state->m_locked)
            return SecretResult::failure(SecretResult::Status::Locked, "locked");
        return {SecretResult::Status::Done, m_state->m_items.value(account), {}};
    }
    SecretResult remove(const QString &, const QString &account) override
    {
        return change([=, this] {
            m_state->m_items.remove(account);
            m_state->m_labels.remove(account);
        });
    }
    SecretListing items(const QString &) override
    {
        std::unique_lock lock(m_state->m_mutex);
        if (!answers(lock))
            return {SecretResult::Status::Unknown, {}, "no answer"};
        return {SecretResult::Status::Done, m_state->m_labels, {}};
    }
    SecretResult relabel(const QString &, const QString &account, const QString &label) override
    {
        return change([=, this] {
            if (m_state->m_items.contains(account))
                m_state->m_labels.insert(account, label);
        });
    }
    SecretResult unlock() override
    {
        std::unique_lock lock(m_state->m_mutex);
        if (!m_state->m_locked)
            return {};
        ++m_state->m_prompts;
        m_state->m_prompted.wait(lock, [&] { return m_state->m_answer.has_value(); });
        m_state->m_locked = !*std::exchange(m_state->m_answer, std::nullopt);
        return m_state->m_locked ? SecretResult::failure(SecretResult::Status::Locked, "dismissed")
                                 : SecretResult();
    }
    bool keepsLabels() const override { return true; }

private:
    // False when the call got no answer in time.
    bool answers(std::unique_lock<std::mutex> &lock)
    {
        return m_state->m_resumed.wait_for(lock, std::chrono::milliseconds(m_state->m_timeoutMs),
                                           [&] { return !m_state->m_hung; });
    }
    SecretResult change(const std::function<void()> &apply)
    {
        std::unique_lock lock(m_state->m_mutex);
        if (!answers(lock)) {
            m_state->m_queued.append(apply);
            return unanswered();
        }
        if (m_state->m_locked)
            return SecretResult::failure(SecretResult::Status::Locked, "locked");
        apply();
        return {};
    }
    static SecretResult unanswered()
    {
        return SecretResult::failure(SecretResult::Status::Unknown, "no answer");
    }

    State *m_state;
};
