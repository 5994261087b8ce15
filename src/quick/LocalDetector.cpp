// SPDX-License-Identifier: GPL-3.0-or-later
#include "quick/LocalDetector.h"

#include <QRegularExpression>
#include <QTextBoundaryFinder>

#include <array>

namespace {

struct Rule
{
    Detection detection;
    QRegularExpression pattern;
};

// Unicode properties make \d match every decimal digit (Arabic-Indic, Devanagari…); the
// bracketed classes are ASCII ranges either way.
QRegularExpression compiled(const char *pattern)
{
    QRegularExpression expression(QString::fromLatin1(pattern),
                                  QRegularExpression::UseUnicodePropertiesOption);
    expression.optimize();
    return expression;
}

const std::array<Rule, 10> &rules()
{
    static const std::array<Rule, 10> table = {{
        {{"Stripe key", "API Keys", "Stripe key", true},
         compiled(R"(^(sk|pk|rk)_(live|test)_[A-Za-z0-9]{16,}$)")},
        {{"AWS access key", "API Keys", "AWS access key", true}, compiled(R"(^AKIA[0-9A-Z]{16}$)")},
        {{"GitHub token", "API Keys", "GitHub token", true},
         compiled(R"(^(ghp|gho|ghu|ghs|ghr)_[A-Za-z0-9]{36,}$|^github_pat_[A-Za-z0-9_]{20,}$)")},
        {{"OpenAI key", "API Keys", "OpenAI key", true}, compiled(R"(^sk-[A-Za-z0-9_\-]{20,}$)")},
        {{"JWT", "API Keys", "JWT", true},
         compiled(R"(^eyJ[A-Za-z0-9_\-]+\.[A-Za-z0-9_\-]+\.[A-Za-z0-9_\-]+$)")},
        {{"PAN card", "Personal", "PAN", true}, compiled(R"(^[A-Z]{5}[0-9]{4}[A-Z]$)")},
        {{"IBAN", "Bank", "IBAN", true}, compiled(R"(^[A-Z]{2}[0-9]{2}[A-Z0-9]{10,30}$)")},
        {{"Card number", "Bank", "Card number", true}, compiled(R"(^(?:\d[ -]?){13,19}$)")},
        {{"Email", "Personal", "Email", false},
         compiled(R"(^[A-Za-z0-9._%+\-]+@[A-Za-z0-9.\-]+\.[A-Za-z]{2,}$)")},
        {{"Phone number", "Personal", "Phone", false}, compiled(R"(^\+?[0-9][0-9 .\-()]{7,15}$)")},
    }};
    return table;
}

qsizetype graphemeCount(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() >= 0)
        ++count;
    return count;
}

bool looksLikeRandomSecret(const QString &s)
{
    static const QRegularExpression capital(QStringLiteral("[A-Z]"));
    static const QRegularExpression small(QStringLiteral("[a-z]"));
    static const QRegularExpression digit(QStringLiteral("[0-9]"));
    return graphemeCount(s) >= 24 && !s.contains(QLatin1Char(' ')) && s.contains(capital)
        && s.contains(small) && s.contains(digit);
}

std::optional<Detection> firstRule(const QString &s)
{
    for (const Rule &rule : rules()) {
        if (rule.pattern.match(s).hasMatch())
            return rule.detection;
    }
    return std::nullopt;
}

// Account and card numbers are printed in short groups ("DE89 3704 0044 0532 0130 00").
bool isPrintedInGroups(const QString &s)
{
    static const QRegularExpression groups(
        QStringLiteral("^[A-Za-z0-9]{1,6}( [A-Za-z0-9]{1,6})+$"));
    return groups.match(s).hasMatch();
}

} // namespace

std::optional<Detection> LocalDetector::detect(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).isSpace())
        ++begin;
    while (end > begin && text.at(end - 1).isSpace())
        --end;
    if (end - begin > kMaxDetectedLength)
        return std::nullopt;
    const QString s = text.mid(begin, end - begin);
    if (graphemeCount(s) < 4)
        return std::nullopt;
    if (std::optional<Detection> detection = firstRule(s))
        return detection;
    if (isPrintedInGroups(s)) {
        if (std::optional<Detection> detection = firstRule(QString(s).remove(u' ')))
            return detection;
    }
    if (looksLikeRandomSecret(s))
        return Detection {"Secret / token", "API Keys", "Secret", true};
    return std::nullopt;
}
