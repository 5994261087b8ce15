// SPDX-License-Identifier: GPL-3.0-or-later
#include "smartfind/WordForms.h"

#include <array>

namespace {

bool isJoiner(QChar c)
{
    return c == QLatin1Char('\'') || c == QChar(0x2019) || c == QLatin1Char('-');
}

struct Detachment
{
    const char *suffix;
    const char *ending;
};

// WordNet's morphological rules for nouns, verbs and adjectives, in its own order.
constexpr std::array<Detachment, 18> kDetachments = {{
    {"s", ""},
    {"ses", "s"},
    {"xes", "x"},
    {"zes", "z"},
    {"ches", "ch"},
    {"shes", "sh"},
    {"men", "man"},
    {"ies", "y"},
    {"es", "e"},
    {"es", ""},
    {"ed", "e"},
    {"ed", ""},
    {"ing", "e"},
    {"ing", ""},
    {"er", ""},
    {"est", ""},
    {"er", "e"},
    {"est", "e"},
}};

void appendUnique(QList<QByteArray> &list, const QByteArray &word)
{
    if (!word.isEmpty() && !list.contains(word))
        list.append(word);
}

} // namespace

QStringList WordForms::tokens(const QString &lowered)
{
    QStringList result;
    QString current;
    const qsizetype n = lowered.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = lowered.at(i);
        if (c.isLetterOrNumber() || c.isMark()) {
            current.append(c);
        } else if (isJoiner(c) && !current.isEmpty() && i + 1 < n
                   && lowered.at(i + 1).isLetterOrNumber()) {
            current.append(c == QLatin1Char('-') ? c : QLatin1Char('\''));
        } else if (!current.isEmpty()) {
            result.append(current);
            current.clear();
        }
    }
    if (!current.isEmpty())
        result.append(current);
    return result;
}

QStringList WordForms::textTokens(const QString &lowered)
{
    static const QString number = QStringLiteral("number");
    const auto isSpace = [&lowered](qsizetype i) { return lowered.at(i).isSpace(); };
    QStringList result;
    const qsizetype n = lowered.size();
    qsizetype i = 0;
    while (i < n && isSpace(i))
        ++i;
    while (i < n) {
        qsizetype end = i;
        while (end < n && !isSpace(end))
            ++end;
        const QStringView chunk = QStringView(lowered).mid(i, end - i);
        i = end;
        while (i < n && isSpace(i))
            ++i;
        QStringView word = chunk;
        while (!word.isEmpty() && QStringView(u".,:;)").contains(word.back()))
            word.chop(1);
        const bool closed = chunk.size() > word.size()
            && (chunk.at(word.size()) == u'.' || chunk.at(word.size()) == u':');
        const bool isNumber = word == u"#" || word == u"n\u00ba" || word == u"n\u00b0"
            || word == u"\u2116" || (word == u"no" && (closed || i == n));
        if (!result.isEmpty() && isNumber)
            result.append(number);
        else
            result.append(tokens(chunk.toString()));
    }
    return result;
}

QList<QByteArray> WordForms::baseForms(const QByteArray &word)
{
    QList<QByteArray> forms {word};
    QByteArray stem = word;
    if (stem.endsWith("'s"))
        stem.chop(2);
    appendUnique(forms, stem);
    for (const Detachment &rule : kDetachments) {
        const qsizetype suffixLength = qsizetype(qstrlen(rule.suffix));
        if (stem.size() > suffixLength + 1 && stem.endsWith(rule.suffix))
            appendUnique(forms, stem.left(stem.size() - suffixLength) + rule.ending);
    }
    return forms;
}

QList<QList<QByteArray>> WordForms::oneEditAway(const QByteArray &word)
{
    QList<QByteArray> doubled, swapped, undoubled, inserted, replaced, deleted;
    const qsizetype n = word.size();
    for (qsizetype i = 0; i < n; ++i) {
        doubled.append(QByteArray(word).insert(i, word[i]));
        if (i > 0 && word[i] == word[i - 1])
            undoubled.append(QByteArray(word).remove(i, 1));
        else if (i + 1 == n || word[i] != word[i + 1]) // the pair's first is its second's twin
            deleted.append(QByteArray(word).remove(i, 1));
        if (i + 1 < n && word[i] != word[i + 1]) {
            QByteArray swap = word;
            std::swap(swap[i], swap[i + 1]);
            swapped.append(swap);
        }
    }
    for (qsizetype i = 0; i <= n; ++i) {
        for (char c = 'a'; c <= 'z'; ++c) {
            const bool doubling = (i < n && word[i] == c) || (i > 0 && word[i - 1] == c);
            if (!doubling)
                inserted.append(QByteArray(word).insert(i, c));
            if (i < n && word[i] != c) {
                QByteArray replacement = word;
                replacement[i] = c;
                replaced.append(replacement);
            }
        }
    }
    return {doubled, swapped, undoubled, inserted, replaced, deleted};
}
