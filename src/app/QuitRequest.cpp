// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/QuitRequest.h"

#include "model/TimerScheduler.h"
#include "model/store/DataController.h"

#include <QPointer>

QuitRequest::QuitRequest(DataController &store, TimerScheduler &timers, Ask ask,
                         std::function<void()> quit, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_timers(timers)
    , m_ask(std::move(ask))
    , m_quit(std::move(quit))
{ }

void QuitRequest::start()
{
    if (m_waiting)
        return;
    m_waiting = true;
    attempt(int(kPatience / kRetryInterval));
}

void QuitRequest::attempt(int attemptsLeft)
{
    if (m_store.save() && m_store.secretChangesInFlight() == 0) {
        m_waiting = false;
        m_quit();
        return;
    }
    if (attemptsLeft > 0) {
        m_timers.schedule(kRetryInterval, [self = QPointer<QuitRequest>(this), attemptsLeft] {
            if (self)
                self->attempt(attemptsLeft - 1);
        });
        return;
    }
    m_waiting = false;
    const int count = m_store.unsavedChangeCount() + m_store.secretChangesInFlight();
    const QString changes = count == 1 ? tr("1 change could not be saved")
                                       : tr("%1 changes could not be saved").arg(count);
    // Only a keyring that does not answer holds a change back while the database takes it.
    const QString reason = m_store.saveError().isEmpty() ? tr("the system keyring does not answer")
                                                         : m_store.saveError();
    if (m_ask(changes + QStringLiteral(": ") + reason))
        m_quit();
}
