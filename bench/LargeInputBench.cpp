// SPDX-License-Identifier: GPL-3.0-or-later
// What large input costs where a limit bounds it: a 10,000-letter query (one word, which used
// to be spell-corrected letter by letter, or many words) and pasted values for the detector.
// peak_rss_growth_MB is the growth of the process's peak memory over the whole benchmark. The
// cost of opening (and now validating) the model is smartfind_bench's openModel.
#include "model/records/Binzo.h"
#include "model/records/Entry.h"
#include "quick/LocalDetector.h"
#include "quick/Search.h"
#include "smartfind/SemanticSearch.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <memory>
#include <vector>

namespace {

double peakRssMb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// Letters in a pattern no dictionary knows; a space after every ninth with `words`.
QString pasted(int letters, bool words)
{
    QString text;
    for (int i = 0; i < letters; ++i) {
        text += QLatin1Char("qwertyuiopasdfghjklzxcvbnm"[(i * 7 + i / 3) % 26]);
        if (words && i % 9 == 8)
            text += QLatin1Char(' ');
    }
    return text;
}

void queryOfTenThousandLetters(benchmark::State &state)
{
    const EmbeddingModel *model = SemanticSearch::shared().embedding();
    if (!model) {
        state.SkipWithError("no smart-find model");
        return;
    }
    const QString query = pasted(10000, state.range(0) == 1);
    const double before = peakRssMb();
    for (auto _ : state)
        benchmark::DoNotOptimize(model->vector(query));
    state.counters["peak_rss_growth_MB"] = peakRssMb() - before;
    state.SetLabel(state.range(0) == 1 ? "in 9-letter words" : "one word");
}
BENCHMARK(queryOfTenThousandLetters)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The whole keystroke: a pasted query against a vault of 1,000 labels. Two queries take turns,
// so every pass embeds its query afresh as a new keystroke would.
void visibleEntriesForAPastedQuery(benchmark::State &state)
{
    const Binzo binzo("Personal", "person", "6385F4", 0, {});
    std::vector<std::unique_ptr<Entry>> owned;
    QList<Entry *> entries;
    for (int i = 0; i < 1000; ++i) {
        Entry::Fields fields;
        fields.id = QUuid::createUuid();
        fields.label = QStringLiteral("Home address %1").arg(i);
        fields.binzoID = binzo.id();
        owned.push_back(std::make_unique<Entry>(fields));
        entries.append(owned.back().get());
    }
    Search::visibleEntries(SemanticSearch::shared(), QStringLiteral("home"), &binzo,
                           entries); // embeds the labels
    const QString queries[] = {pasted(10000, state.range(0) == 1),
                               QLatin1Char('x') + pasted(10000, state.range(0) == 1)};
    const double before = peakRssMb();
    size_t turn = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            Search::visibleEntries(SemanticSearch::shared(), queries[turn++ % 2], &binzo, entries));
    state.counters["peak_rss_growth_MB"] = peakRssMb() - before;
}
BENCHMARK(visibleEntriesForAPastedQuery)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A pasted value at the detector's limit, at the editor's, and far beyond both.
void detectPastedValue(benchmark::State &state)
{
    const QString value
        = QStringLiteral("Ab1").repeated(int(state.range(0)) / 3 + 1).left(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(LocalDetector::detect(value));
}
BENCHMARK(detectPastedValue)
    ->Arg(LocalDetector::kMaxDetectedLength)
    ->Arg(64 * 1024)
    ->Arg(1 << 20)
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
