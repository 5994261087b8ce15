// SPDX-License-Identifier: GPL-3.0-or-later
// Per-operation cost of the vault: a store write (one transaction each) and a secret
// write/read on both secret stores. The Secret Service cases need a session bus with an
// unlocked keyring (run inside tests/harness/with-desktop.sh); without one they are skipped.
#include "model/secrets/FileSecretStore.h"
#include "model/secrets/KeychainStore.h"
#include "model/secrets/SecretServiceStore.h"
#include "model/store/DataController.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString kService = "com.qorvastine.binzo.secrets";

struct Store
{
    QTemporaryDir dir;
    std::unique_ptr<DataController> controller
        = std::move(*DataController::open(dir.filePath("binzo.sqlite3"), KeychainStore::shared()));
};

void addEntry(benchmark::State &state)
{
    Store store;
    Binzo *binzo = store.controller->binzos().first();
    int n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            store.controller->addEntry(binzo, QString::number(++n), "+49 30 1234567", false));
}
BENCHMARK(addEntry)->Unit(benchmark::kMicrosecond);

void markUsed(benchmark::State &state)
{
    Store store;
    Entry *entry = store.controller->addEntry(store.controller->binzos().first(), "Phone",
                                              "+49 30 1234567", false);
    for (auto _ : state)
        store.controller->markUsed(entry);
}
BENCHMARK(markUsed)->Unit(benchmark::kMicrosecond);

// Writes and reads one of state.range(0) stored secrets, so the cost of a fuller store shows.
void secretWriteRead(benchmark::State &state, SecretBackend &backend, bool read)
{
    const int stored = int(state.range(0));
    QStringList accounts;
    for (int i = 0; i < stored; ++i)
        accounts.append(KeychainStore::account(QUuid::createUuid()));
    for (const QString &account : accounts) {
        const SecretResult written
            = backend.write(kService, account, "Binzo: bench", "sk-bench-0123456789abcdef");
        if (!written.done()) {
            state.SkipWithError(qPrintable(written.error));
            return;
        }
    }
    int i = 0;
    for (auto _ : state) {
        const QString &account = accounts.at(i++ % stored);
        if (read)
            benchmark::DoNotOptimize(backend.read(kService, account));
        else
            backend.write(kService, account, "Binzo: bench", "sk-bench-fedcba9876543210");
    }
    for (const QString &account : accounts)
        backend.remove(kService, account);
}

void fileSecret(benchmark::State &state, bool read)
{
    QTemporaryDir dir;
    FileSecretStore store(dir.path());
    secretWriteRead(state, store, read);
}
void fileSecretWrite(benchmark::State &state)
{
    fileSecret(state, false);
}
void fileSecretRead(benchmark::State &state)
{
    fileSecret(state, true);
}
BENCHMARK(fileSecretWrite)->Arg(10)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(fileSecretRead)->Arg(10)->Arg(200)->Unit(benchmark::kMicrosecond);

void secretService(benchmark::State &state, bool read)
{
    QString why;
    if (SecretServiceStore::probe(2000, &why) != SecretServiceStore::Presence::Available) {
        state.SkipWithError(qPrintable("no Secret Service: " + why));
        return;
    }
    SecretServiceStore store;
    secretWriteRead(state, store, read);
}
void secretServiceWrite(benchmark::State &state)
{
    secretService(state, false);
}
void secretServiceRead(benchmark::State &state)
{
    secretService(state, true);
}
BENCHMARK(secretServiceWrite)->Arg(10)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(secretServiceRead)->Arg(10)->Arg(200)->Unit(benchmark::kMicrosecond);

} // namespace
