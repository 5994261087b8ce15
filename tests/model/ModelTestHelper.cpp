// SPDX-License-Identifier: GPL-3.0-or-later
// A separate process for the tests that need one: killed mid-write, racing another
// writer, or stopped by a store that cannot be opened.
#include "model/secrets/FileSecretStore.h"
#include "model/secrets/KeychainStore.h"
#include "model/secrets/SecretStores.h"
#include "model/store/DataController.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

// The store at path, or null with the reason on standard error.
std::unique_ptr<DataController> openStore(const QString &path)
{
    auto opened = DataController::open(path, KeychainStore::shared());
    if (!opened)
        std::fprintf(stderr, "%s\n", qPrintable(opened.error()));
    return opened ? std::move(*opened) : nullptr;
}

// Adds entries one by one and prints the number of each once it is on disk, until killed. A
// save that meets another program's lock is left to the store's own retries.
int addEntries(const QString &path)
{
    const std::unique_ptr<DataController> store = openStore(path);
    if (!store)
        return 1;
    Binzo *binzo = store->binzos().first();
    for (int n = 0;; ++n) {
        store->addEntry(binzo, QString::number(n), QStringLiteral("value %1").arg(n), false);
        while (store->unsavedChangeCount() > 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        std::printf("%d\n", n);
        std::fflush(stdout);
    }
}

int writeSecrets(const QString &folder, const QString &prefix, int count)
{
    FileSecretStore store(folder);
    for (int n = 0; n < count; ++n) {
        const SecretResult result
            = store.write("service", prefix + QString::number(n), {}, QByteArray::number(n));
        if (!result.done()) {
            std::fprintf(stderr, "%s\n", qPrintable(result.error));
            return 1;
        }
    }
    return 0;
}

// Turns entries sensitive and back again, one change at a time, printing the number of
// every change reported as stored, until killed. Secrets go to the file store in folder.
int flipSensitivity(QCoreApplication &app, const QString &folder)
{
    KeychainStore::setShared(std::make_unique<KeychainStore>(
        std::make_unique<SingleSecretStore>(QStringLiteral("file"),
                                            std::make_unique<FileSecretStore>(folder)),
        folder + QStringLiteral("/secrets.pending")));
    const std::unique_ptr<DataController> store = openStore(folder + "/binzo.sqlite3");
    if (!store)
        return 1;
    for (int n = int(store->entries().size()); n < 8; ++n)
        store->addEntry(store->binzos().first(), QString::number(n),
                        QStringLiteral("value %1").arg(n), false);
    std::function<void(int)> flip = [&](int n) {
        Entry *entry = store->entries().at(n % store->entries().size());
        store->updateEntry(entry, entry->label(), QStringLiteral("value ") + entry->label(),
                           !entry->isSensitive(), [&, n](const Result<void> &changed) {
                               if (changed) {
                                   std::printf("%d\n", n);
                                   std::fflush(stdout);
                               }
                               QTimer::singleShot(0, [&, n] { flip(n + 1); });
                           });
    };
    flip(0);
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == "add-entries")
        return addEntries(args[2]);
    if (args.size() == 2 && args[1] == "open-shared") {
        DataController::shared();
        return 0;
    }
    if (args.size() == 5 && args[1] == "write-secrets")
        return writeSecrets(args[2], args[3], args[4].toInt());
    if (args.size() == 3 && args[1] == "flip-sensitivity")
        return flipSensitivity(app, args[2]);
    std::fprintf(stderr,
                 "usage: %s add-entries PATH | open-shared | "
                 "write-secrets FOLDER PREFIX COUNT | flip-sensitivity FOLDER\n",
                 argv[0]);
    return 2;
}
