// SPDX-License-Identifier: GPL-3.0-or-later
// A separate process for the tests that need one: killed mid-write, racing another
// writer, or stopped by a store that cannot be opened.
#include "model/secrets/FileSecretStore.h"
#include "model/store/DataController.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace {

// Adds entries one by one and prints the number of each once it is on disk, until killed. A
// save that meets another program's lock is left to the store's own retries.
int addEntries(const QString &path)
{
    QString error;
    auto store = DataController::open(path, &error);
    if (!store) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    Binzo *binzo = store->binzos().first();
    for (int n = 0;; ++n) {
        store->addEntry(binzo, QString::number(n), QStringLiteral("value %1").arg(n), false);
        while (store->unsavedChangeCount() > 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        std::printf("%d\n", n);
        std::fflush(stdout);
    }
}

int open(const QString &path)
{
    QString error;
    if (DataController::open(path, &error))
        return 0;
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
}

int writeSecrets(const QString &folder, const QString &prefix, int count)
{
    FileSecretStore store(folder);
    for (int n = 0; n < count; ++n) {
        if (!store.write("service", prefix + QString::number(n), QByteArray::number(n))) {
            std::fprintf(stderr, "%s\n", qPrintable(store.lastError()));
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == "add-entries")
        return addEntries(args[2]);
    if (args.size() == 3 && args[1] == "open")
        return open(args[2]);
    if (args.size() == 2 && args[1] == "open-shared") {
        DataController::shared();
        return 0;
    }
    if (args.size() == 5 && args[1] == "write-secrets")
        return writeSecrets(args[2], args[3], args[4].toInt());
    std::fprintf(stderr,
                 "usage: %s add-entries|open PATH | open-shared | "
                 "write-secrets FOLDER PREFIX COUNT\n",
                 argv[0]);
    return 2;
}
