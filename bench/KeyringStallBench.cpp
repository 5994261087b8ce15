// SPDX-License-Identifier: GPL-3.0-or-later
// The longest time the event loop goes unanswered while the quick panel is used with the
// system keyring in one state: healthy, hung (SIGSTOP), slow (answers after the call timeout),
// locked, restarted under the running app, or gone (ended; the bus may start a new one).
// Runs inside tests/harness/with-desktop.sh:
//   keyring_stall_bench STATE
// The draws, the keystrokes, a copy and an edit of a secret all run on the event loop, as in
// the app; the keyring's answers arrive whenever it gives them.
#include "KeyringDaemon.h"

#include "model/EventLoopScheduler.h"
#include "model/secrets/KeychainStore.h"
#include "model/secrets/SecretServiceStore.h"
#include "model/store/DataController.h"
#include "quick/Clipboard.h"
#include "quick/QuickAccessViewModel.h"
#include "smartfind/SemanticSearch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

namespace {

struct NoClipboard : Clipboard
{
    void setText(const QString &, bool) override { }
    bool holds(const QString &) const override { return false; }
    void clear() override { }
};

// Ticks every millisecond and keeps the longest gap between two ticks.
class EventLoopProbe
{
public:
    EventLoopProbe()
    {
        m_clock.start();
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this] { m_worst = std::max(m_worst, m_clock.restart()); });
        m_timer.start();
    }
    qint64 worstMs() const { return m_worst; }

private:
    QElapsedTimer m_clock;
    QTimer m_timer;
    qint64 m_worst = 0;
};

// What the list draws: every visible row's value line.
void draw(QuickAccessViewModel &view)
{
    VisibleEntriesModel *rows = view.visibleEntries();
    for (int row = 0; row < rows->rowCount(); ++row)
        rows->data(rows->index(row), VisibleEntriesModel::DisplayValueRole);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString state = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("healthy");
    QTemporaryDir dir;
    KeychainStore::setSharedBackend(std::make_unique<SecretServiceStore>());
    auto opened = DataController::open(dir.filePath("binzo.sqlite3"), KeychainStore::shared());
    if (!opened) {
        std::fprintf(stderr, "%s\n", qPrintable(opened.error()));
        return 1;
    }
    const std::unique_ptr<DataController> &store = *opened;
    Binzo *keys = store->binzo(QStringLiteral("API Keys"));
    for (int i = 1; i <= 8; ++i) {
        QEventLoop stored;
        store->addEntry(keys, QStringLiteral("Key %1").arg(i),
                        QStringLiteral("sk-live-%1-0123456789abcdef").arg(i), true,
                        [&](const Result<Entry *> &) { stored.quit(); });
        stored.exec();
    }

    NoClipboard clipboard;
    EventLoopScheduler timers;
    QuickAccessViewModel view(*store, SemanticSearch::shared(), clipboard, timers);
    view.selectBinzo(1);

    const std::optional<qint64> daemon = KeyringDaemon::pid();
    if (!daemon) {
        std::fprintf(stderr, "no keyring daemon on the session bus\n");
        return 1;
    }
    if (state == "hung" || state == "slow")
        KeyringDaemon::stop(*daemon);
    else if (state == "locked")
        KeyringDaemon::lock();
    else if (state == "restarted")
        KeyringDaemon::restart();
    else if (state == "gone")
        ::kill(pid_t(*daemon), SIGTERM);
    // From its own thread: a stalled event loop would hold a timer back.
    std::thread resumer;
    if (state == "slow")
        resumer = std::thread([pid = *daemon] {
            std::this_thread::sleep_for(std::chrono::milliseconds(2500));
            KeyringDaemon::resume(pid);
        });

    EventLoopProbe probe;
    const std::pair<int, std::function<void()>> script[] = {
        {0,
         [&] {
             view.resetForShow();
             draw(view);
         }},
        {100,
         [&] {
             view.setSearch(QStringLiteral("k"));
             draw(view);
         }},
        {200,
         [&] {
             view.setSearch(QStringLiteral("ke"));
             draw(view);
         }},
        {300, [&] { view.copySelected(); }},
        {400,
         [&] {
             Entry *first = store->entries().first();
             store->updateEntry(first, first->label(), QStringLiteral("sk-live-changed"), true);
         }},
        {500,
         [&] {
             view.setSearch(QString());
             draw(view);
         }},
    };
    for (const auto &[at, step] : script)
        QTimer::singleShot(at, step);
    QTimer::singleShot(8000, &app, &QCoreApplication::quit);
    app.exec();
    std::printf("%s: worst event-loop stall %lld ms\n", qPrintable(state), probe.worstMs());

    if (resumer.joinable())
        resumer.join();
    if (state == "hung")
        KeyringDaemon::resume(*daemon);
    return 0;
}
