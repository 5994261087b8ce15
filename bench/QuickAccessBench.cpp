// SPDX-License-Identifier: GPL-3.0-or-later
// What one keystroke in the quick panel costs: the view model recomputes the visible list
// (smart find over every entry) and refreshes its rows.
#include "model/TimerScheduler.h"
#include "model/store/DataController.h"
#include "quick/Clipboard.h"
#include "quick/QuickAccessViewModel.h"
#include "smartfind/SemanticSearch.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct NoClipboard : Clipboard
{
    void setText(const QString &, bool) override { }
    bool holds(const QString &) const override { return false; }
    void clear() override { }
};

struct NoTimers : TimerScheduler
{
    void schedule(std::chrono::milliseconds, std::function<void()>) override { }
};

void typingAQuery(benchmark::State &state)
{
    QTemporaryDir dir;
    auto opened = DataController::open(dir.filePath("binzo.sqlite3"), KeychainStore::shared());
    if (!opened) {
        state.SkipWithError(qPrintable(opened.error()));
        return;
    }
    const std::unique_ptr<DataController> &store = *opened;
    const QList<Binzo *> binzos = store->binzos();
    for (int i = 0; i < state.range(0); ++i)
        store->addEntry(binzos.at(i % binzos.size()), QStringLiteral("Account %1").arg(i), "v",
                        false);
    NoClipboard clipboard;
    NoTimers timers;
    QuickAccessViewModel view(*store, SemanticSearch::shared(), clipboard, timers);
    const QStringList keystrokes = {"a", "ac", "acc", "acco", "accou", ""};
    for (auto _ : state) {
        for (const QString &search : keystrokes)
            view.setSearch(search);
        benchmark::DoNotOptimize(view.visibleEntries()->rowCount());
    }
    state.SetItemsProcessed(state.iterations() * keystrokes.size());
}
BENCHMARK(typingAQuery)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace
