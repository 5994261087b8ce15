// SPDX-License-Identifier: GPL-3.0-or-later
#include "quick/Search.h"

#include "model/records/Binzo.h"
#include "model/records/Entry.h"
#include "smartfind/SemanticSearch.h"

#include <QCollator>
#include <QSet>
#include <QUuid>

#include <algorithm>
#include <optional>

namespace {

constexpr double kStrongScore = 1.0;
constexpr double kNearScore = 0.62;
constexpr qsizetype kMaxNearMatches = 4;
constexpr qsizetype kShownCount = 5;

struct Scored
{
    Entry *entry;
    double score;
};

QString trimmedOfSpacesAndTabs(const QString &text)
{
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && blank(text.at(begin)))
        ++begin;
    while (end > begin && blank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

// a: the lower-cased query; b: the lower-cased label.
double scoreOf(const QString &a, const QString &b, std::optional<double> distance)
{
    double s = 0;
    if (b.contains(a))
        s = 1.0;
    if (b.startsWith(a))
        s += 0.3;
    if (distance) {
        const double similarity = (2.0 - *distance) * 0.5;
        if (similarity >= 0)
            s += similarity;
    }
    return s;
}

void sortByScore(std::vector<Scored> &list)
{
    std::stable_sort(list.begin(), list.end(),
                     [](const Scored &x, const Scored &y) { return x.score > y.score; });
}

QList<Entry *> entriesOf(const std::vector<Scored> &list)
{
    QList<Entry *> result;
    result.reserve(qsizetype(list.size()));
    for (const Scored &scored : list)
        result.append(scored.entry);
    return result;
}

// The first `count` of S under a stable sort by score, without sorting all of S: position
// breaks ties, which makes the order total and partial_sort agree with stable_sort.
QList<Entry *> best(const std::vector<Scored> &s, qsizetype count)
{
    std::vector<size_t> order(s.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    const auto n = std::min(order.size(), size_t(count));
    std::partial_sort(order.begin(), order.begin() + qsizetype(n), order.end(),
                      [&s](size_t x, size_t y) {
                          return s[x].score > s[y].score || (s[x].score == s[y].score && x < y);
                      });
    QList<Entry *> result;
    for (size_t i = 0; i < n; ++i)
        result.append(s[order[i]].entry);
    return result;
}

} // namespace

double Search::score(SemanticSearch &semantic, const Entry &entry, const QString &trimmedQuery)
{
    const QString a = trimmedQuery.left(kMaxQueryLength).toLower();
    const QString &b = semantic.loweredLabel(entry);
    return scoreOf(
        a, b, semantic.embedding() ? std::optional(semantic.distance(a, entry)) : std::nullopt);
}

QList<Entry *> Search::visibleEntries(SemanticSearch &semantic, const QString &search,
                                      const Binzo *currentBinzo, const QList<Entry *> &allEntries,
                                      bool *closestOnly)
{
    if (closestOnly)
        *closestOnly = false;
    const QString q = trimmedOfSpacesAndTabs(search);
    if (q.isEmpty())
        return entries(currentBinzo, allEntries);

    const QString a = q.left(kMaxQueryLength).toLower();
    const auto &matches = semantic.match(a, allEntries);
    std::vector<Scored> s;
    s.reserve(matches.size());
    for (size_t i = 0; i < matches.size(); ++i)
        s.push_back(
            {allEntries[qsizetype(i)], scoreOf(a, *matches[i].lowered, matches[i].distance)});

    std::vector<Scored> strong;
    QSet<QUuid> strongIds;
    for (const Scored &scored : s) {
        if (scored.score >= kStrongScore) {
            strong.push_back(scored);
            strongIds.insert(scored.entry->id());
        }
    }
    // With no label holding the query, one wrong near match could stand alone while the wanted
    // label sits just under the bar: the five best are shown, near matches first among them.
    if (strong.empty() && !s.empty()) {
        if (closestOnly)
            *closestOnly = std::none_of(
                s.begin(), s.end(), [](const Scored &scored) { return scored.score > kNearScore; });
        return best(s, kShownCount);
    }
    sortByScore(strong);

    std::vector<Scored> near;
    for (const Scored &scored : s) {
        if (scored.score > kNearScore && !strongIds.contains(scored.entry->id()))
            near.push_back(scored);
    }
    sortByScore(near);
    if (near.size() > size_t(kMaxNearMatches))
        near.resize(size_t(kMaxNearMatches));

    return entriesOf(strong) + entriesOf(near);
}

QList<Entry *> Search::entries(const Binzo *binzo, const QList<Entry *> &allEntries)
{
    if (!binzo)
        return {};
    QList<Entry *> result;
    for (Entry *entry : allEntries) {
        if (entry->binzoID() == binzo->id())
            result.append(entry);
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(result.begin(), result.end(), [&collator](const Entry *x, const Entry *y) {
        const QDateTime &xUsed = x->fields().lastUsedAt;
        const QDateTime &yUsed = y->fields().lastUsedAt;
        if (xUsed.isValid() != yUsed.isValid())
            return xUsed.isValid();
        if (xUsed.isValid() && xUsed != yUsed)
            return xUsed > yUsed;
        return collator.compare(x->fields().label, y->fields().label) < 0;
    });
    return result;
}
