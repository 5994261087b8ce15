// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

class Binzo;
class Entry;
class SemanticSearch;

// The list the quick-access view shows: the current binzo by last use for an empty query,
// otherwise a ranked selection from every binzo by label text and meaning. Labels only: an
// entry's value is never read here.
namespace Search {

// A query is a few words: only its first characters are matched, so a page pasted into the
// search field costs no more than a line.
inline constexpr qsizetype kMaxQueryLength = 256;

// Leading and trailing spaces and tabs are ignored; line breaks are not. *closestOnly, when
// given, tells whether nothing matched and the list holds the best-scoring entries instead.
QList<Entry *> visibleEntries(SemanticSearch &semantic, const QString &search,
                              const Binzo *currentBinzo, const QList<Entry *> &allEntries,
                              bool *closestOnly = nullptr);

// The binzo's entries, most recently used first, then never-used ones by label (localized,
// case-insensitive). An absent binzo gives an empty list.
QList<Entry *> entries(const Binzo *binzo, const QList<Entry *> &allEntries);

// 1.0 when the label contains the query, +0.3 when it starts with it, plus the similarity of
// meaning in [0, 1] when a model is present. The query must already be trimmed; only its first
// kMaxQueryLength characters count.
double score(SemanticSearch &semantic, const Entry &entry, const QString &trimmedQuery);

} // namespace Search
