// SPDX-License-Identifier: GPL-3.0-or-later
// What a locked or busy database costs the user: the longest stall of the UI thread while
// another program holds the write lock, the time from the lock's end until a change added
// under it is on disk (no user action), and the time until a deleted value is gone from the
// database's three files. Prints one line per measurement.
#include "ForeignLock.h"

#include "model/store/DataController.h"
#include "model/store/SqliteDatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

namespace {

// Runs the event loop until done() or the timeout; the milliseconds it took, or -1.
qint64 waitFor(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return clock.elapsed();
}

bool onDisk(const QString &path, const char *sql)
{
    SqliteDatabase database;
    return database.open(path, SqliteDatabase::Mode::ReadOnly)
        && database.queryInteger(sql).value_or(0) > 0;
}

bool inFiles(const QString &path, const QByteArray &text)
{
    for (const char *suffix : {"", "-wal", "-shm"}) {
        QFile file(path + suffix);
        if (file.open(QIODevice::ReadOnly) && file.readAll().contains(text))
            return true;
    }
    return false;
}

std::unique_ptr<DataController> open(const QString &path)
{
    auto opened = DataController::open(path, KeychainStore::shared());
    if (!opened)
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(path), qPrintable(opened.error()));
    return opened ? std::move(*opened) : nullptr;
}

// The longest of 20 saves (adds and copies' usage counts), with and without another
// program's lock: the difference is what the lock costs the UI thread.
void stallOfSaves(const QString &path, bool locked)
{
    auto store = open(path);
    Entry *entry = store->addEntry(store->binzos().first(), "Phone", "1", false);
    std::optional<ForeignLock> lock;
    if (locked)
        lock.emplace(path);
    qint64 worst = 0;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer call;
        call.start();
        if (i % 2)
            store->markUsed(entry);
        else
            store->addEntry(store->binzos().first(), "Added", "2", false);
        worst = std::max(worst, call.nsecsElapsed());
    }
    std::printf("worst UI-thread stall of a save%s: %.1f ms\n",
                locked ? " while another program holds the lock" : "", double(worst) / 1e6);
}

// The lock is held 8 s from the start; the entry is added `addedAfterMs` into it.
void releaseToDisk(const QString &path, int addedAfterMs)
{
    auto store = open(path);
    ForeignLock lock(path);
    QElapsedTimer sinceLock;
    sinceLock.start();
    waitFor([&] { return sinceLock.elapsed() >= addedAfterMs; }, 10000);
    const QString label = QStringLiteral("added-%1").arg(addedAfterMs);
    store->addEntry(store->binzos().first(), label, "x", false);
    waitFor([&] { return sinceLock.elapsed() >= 8000; }, 10000);
    lock.release();
    const QByteArray query = "SELECT count(*) FROM Entry WHERE label = '" + label.toUtf8() + "'";
    const qint64 latency = waitFor([&] { return onDisk(path, query.constData()); }, 30000);
    std::printf("lock of 8 s, entry added at %.1f s: on disk %lld ms after the lock ended%s\n",
                addedAfterMs / 1000.0, latency, latency < 0 ? " (never, within 30 s)" : "");
}

void deletedValueGone(const QString &path, int readerHoldsMs)
{
    const QByteArray value = "DELETED-VALUE-" + QByteArray::number(readerHoldsMs);
    {
        auto first = open(path);
        first->addEntry(first->binzos().first(), "Card", QString::fromLatin1(value), false);
    }
    auto store = open(path); // closing moved the value into the database file
    SqliteDatabase reader;
    reader.open(path, SqliteDatabase::Mode::ReadOnly);
    if (readerHoldsMs > 0)
        reader.exec("BEGIN; SELECT count(*) FROM Entry;");
    QObject scope; // the commit never outlives the reader
    QTimer::singleShot(readerHoldsMs, &scope, [&] { reader.exec("COMMIT"); });
    QElapsedTimer clock;
    clock.start();
    store->deleteEntry(store->entries().last());
    const double deleteMs = double(clock.nsecsElapsed()) / 1e6;
    const qint64 gone
        = waitFor([&] { return !inFiles(path, value); }, 30000) < 0 ? -1 : clock.elapsed();
    std::printf("deleted value gone from the three files after %lld ms%s (a reader held the "
                "database for %d ms; the delete itself took %.1f ms of UI thread)\n",
                gone, gone < 0 ? " (never, within 30 s)" : "", readerHoldsMs, deleteMs);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each line as it is measured
    QTemporaryDir dir;
    int run = 0;
    const auto fresh = [&] { return dir.filePath(QStringLiteral("run%1.sqlite3").arg(++run)); };
    stallOfSaves(fresh(), false);
    stallOfSaves(fresh(), true);
    for (const int addedAfterMs : {0, 1000, 3500, 6000})
        releaseToDisk(fresh(), addedAfterMs);
    for (const int readerHoldsMs : {0, 1000})
        deletedValueGone(fresh(), readerHoldsMs);
    return 0;
}
