// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/secrets/KeychainStore.h"
#include "model/store/DataController.h"

#include <QCoreApplication>
#include <QTest>

// Waiting, in tests, for what the secret store's own thread does.

// Lets every call made so far, and the calls their answers lead to, finish and be answered.
inline void settleSecretCalls(KeychainStore &store = KeychainStore::shared())
{
    for (int round = 0; round < 4; ++round) {
        bool answered = false;
        QObject context;
        store.describe(&context, [&](const QString &) { answered = true; });
        (void)QTest::qWaitFor([&] { return answered; }, 10000);
        QCoreApplication::processEvents();
    }
}

// The new entry once its value is stored; null with the reason in *error.
inline Entry *addEntryAndWait(DataController &store, Binzo *binzo, const QString &label,
                              const QString &value, bool isSensitive, QString *error = nullptr)
{
    Entry *added = nullptr;
    bool answered = false;
    store.addEntry(binzo, label, value, isSensitive, [&](const Result<Entry *> &entry) {
        added = entry ? *entry : nullptr;
        answered = true;
        if (error)
            *error = entry.error();
    });
    (void)QTest::qWaitFor([&] { return answered; }, 10000);
    return added;
}

// Empty when the change was stored, else why not.
inline QString updateEntryAndWait(DataController &store, Entry *entry, const QString &label,
                                  const QString &value, bool isSensitive)
{
    QString error = QStringLiteral("no answer");
    bool answered = false;
    store.updateEntry(entry, label, value, isSensitive, [&](const Result<void> &changed) {
        error = changed.error();
        answered = true;
    });
    (void)QTest::qWaitFor([&] { return answered; }, 10000);
    return error;
}
