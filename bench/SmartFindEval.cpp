// SPDX-License-Identifier: GPL-3.0-or-later
// Recall of smart find under the app's own ranking:
//   smartfind_eval VAULT CASES
// VAULT has one label per line; CASES has "query<TAB>wanted|alternatives<TAB>kind" lines
// (kind "negative" wants nothing). A case not found first also shows where the wanted label
// ranks by score alone and its score, to tell a ranking fault from a model fault. The last
// line is "recall@1=R1 recall@5=R5 cases=N".
#include "model/records/Binzo.h"
#include "model/records/Entry.h"
#include "quick/Search.h"
#include "smartfind/SemanticSearch.h"

#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

std::optional<QStringList> readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return std::nullopt;
    }
    QStringList lines;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (!line.trimmed().isEmpty() && !line.startsWith(QLatin1Char('#')))
            lines.append(line);
    }
    return lines;
}

// "#rank score" of the best-scoring wanted label among all entries.
QString wantedRank(const QList<Entry *> &entries, const QStringList &wanted, const QString &query)
{
    double best = -1;
    for (const Entry *entry : entries) {
        if (wanted.contains(entry->label()))
            best = std::max(best, Search::score(SemanticSearch::shared(), *entry, query));
    }
    if (best < 0)
        return QStringLiteral("not in vault");
    int rank = 1;
    for (const Entry *entry : entries)
        rank += Search::score(SemanticSearch::shared(), *entry, query) > best;
    return QStringLiteral("#%1 %2").arg(rank).arg(best, 0, 'f', 3);
}

struct Tally
{
    int cases = 0;
    int first = 0;
    int topFive = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: smartfind_eval VAULT CASES\n");
        return 2;
    }
    const auto labels = readLines(QString::fromLocal8Bit(argv[1]));
    const auto cases = readLines(QString::fromLocal8Bit(argv[2]));
    if (!labels || !cases)
        return 1;
    if (!SemanticSearch::shared().embedding())
        std::fprintf(stderr, "no model: literal matching only\n");

    const Binzo binzo("Vault", "tray", "6385F4", 0, {});
    std::vector<std::unique_ptr<Entry>> owned;
    QList<Entry *> entries;
    for (const QString &label : *labels) {
        owned.push_back(std::make_unique<Entry>(label.trimmed(), false, binzo, QDateTime()));
        entries.append(owned.back().get());
    }

    Tally total;
    QMap<QString, Tally> byKind;
    int negatives = 0;
    int negativeNearMatches = 0;
    for (const QString &line : *cases) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() < 3) {
            std::fprintf(stderr, "skipping malformed case: %s\n", qPrintable(line));
            continue;
        }
        const QString &query = fields[0];
        const QStringList wanted = fields[1].split(QLatin1Char('|'), Qt::SkipEmptyParts);
        const QString &kind = fields[2];
        const QList<Entry *> shown
            = Search::visibleEntries(SemanticSearch::shared(), query, nullptr, entries);
        QStringList top;
        for (qsizetype i = 0; i < std::min<qsizetype>(5, shown.size()); ++i)
            top.append(shown[i]->label());

        if (kind == QLatin1String("negative")) {
            ++negatives;
            int near = 0;
            for (const Entry *entry : shown)
                near += Search::score(SemanticSearch::shared(), *entry, query) > 0.62;
            negativeNearMatches += near;
            std::printf("negative %-22s near=%d  [%s]\n", qPrintable(query), near,
                        qPrintable(top.join(", ")));
            continue;
        }
        const bool first = !top.isEmpty() && wanted.contains(top[0]);
        bool inFive = false;
        for (const QString &label : top)
            inFive = inFive || wanted.contains(label);
        for (Tally *tally : {&total, &byKind[kind]}) {
            ++tally->cases;
            tally->first += first;
            tally->topFive += inFive;
        }
        std::printf(
            "%s %-8s %-22s -> %-28s [%s]%s\n", first ? "ok  " : (inFive ? "top5" : "MISS"),
            qPrintable(kind), qPrintable(query), qPrintable(wanted.join('|')),
            qPrintable(top.join(", ")),
            first ? ""
                  : qPrintable(QStringLiteral(" wanted ") + wantedRank(entries, wanted, query)));
    }
    for (auto it = byKind.cbegin(); it != byKind.cend(); ++it) {
        std::printf("%-9s recall@1=%.3f recall@5=%.3f cases=%d\n", qPrintable(it.key()),
                    double(it->first) / it->cases, double(it->topFive) / it->cases, it->cases);
    }
    if (negatives > 0) {
        std::printf("negatives: %.2f near matches on average over %d queries\n",
                    double(negativeNearMatches) / negatives, negatives);
    }
    if (total.cases == 0) {
        std::printf("recall@1=0 recall@5=0 cases=0\n");
        return 0;
    }
    std::printf("recall@1=%.3f recall@5=%.3f cases=%d\n", double(total.first) / total.cases,
                double(total.topFive) / total.cases, total.cases);
    return 0;
}
