// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// How smart find cuts text into words and guesses their dictionary forms. Shared by the model
// builder and the run-time model so both agree on what a word is.
namespace WordForms {

// Runs of letters and digits of lower-cased text; an apostrophe or hyphen between two of them
// stays inside the word ("driver's", "wi-fi"). A typographic apostrophe becomes "'".
QStringList tokens(const QString &lowered);
// tokens() of a label or query, where a number sign ("#", "nº", "№") after a word, or a "no"
// after a word that a period or colon closes or that ends the text, is read as "number": labels
// abbreviate it ("Passport no.", "NI no", "claim #"), and the word "no" names nothing there.
QStringList textTokens(const QString &lowered);

// The word itself, then candidate dictionary forms: possessive dropped, then WordNet's
// detachment rules for plurals, verb endings and comparatives. No duplicates.
QList<QByteArray> baseForms(const QByteArray &word);

// Every other spelling one edit away, grouped from the likeliest typo to the least: a letter
// typed once that is doubled ("adress"), two letters swapped, a letter typed twice ("hullu"), a
// letter a-z left out, one mistyped, one typed too many.
QList<QList<QByteArray>> oneEditAway(const QByteArray &word);

// Of the spellings one edit away that `score` rates above 0, the best-rated of the likeliest
// kind of typo that has any; empty when none has.
template<typename Score> QByteArray likeliestRespelling(const QByteArray &word, Score score)
{
    for (const QList<QByteArray> &kind : oneEditAway(word)) {
        QByteArray best;
        double bestScore = 0;
        for (const QByteArray &candidate : kind) {
            if (const double rating = score(candidate); rating > bestScore) {
                best = candidate;
                bestScore = rating;
            }
        }
        if (!best.isEmpty())
            return best;
    }
    return {};
}

} // namespace WordForms
