// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>
#include <utility>

// Why something failed: one sentence for the person, never holding a secret, with the
// platform's status number where there is one.
struct Failure
{
    QString error;
    int code = 0;
};

// A value or the Failure that stands in for it: the one way a failure crosses a subsystem
// boundary. A function returns its value or `Failure {reason}`.
template<typename T> class [[nodiscard]] Result
{
public:
    Result(T value)
        : m_value(std::move(value))
    { }
    Result(Failure failure)
        : m_failure(std::move(failure))
    { }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only when ok(): reading a failure's value stops the program with its reason rather than
    // running on with garbage.
    T &operator*() { return valueOf(*this); }
    const T &operator*() const { return valueOf(*this); }
    T *operator->() { return &valueOf(*this); }
    const T *operator->() const { return &valueOf(*this); }
    // Empty when ok().
    const QString &error() const { return m_failure.error; }
    const Failure &failure() const { return m_failure; }

private:
    template<typename Self> static auto &valueOf(Self &self)
    {
        if (!self.m_value)
            qFatal("a failed result was read as a value: %s", qPrintable(self.m_failure.error));
        return *self.m_value;
    }

    std::optional<T> m_value;
    Failure m_failure;
};

// Success without a value, or a Failure.
template<> class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(Failure failure)
        : m_failed(true)
        , m_failure(std::move(failure))
    { }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const QString &error() const { return m_failure.error; }
    const Failure &failure() const { return m_failure; }

private:
    bool m_failed = false;
    Failure m_failure;
};
