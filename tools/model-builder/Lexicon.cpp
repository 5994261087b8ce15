// SPDX-License-Identifier: GPL-3.0-or-later
#include "Lexicon.h"

#include "smartfind/WordForms.h"

Lexicon::Lexicon(const WordNet &wordNet)
    : m_wordNet(wordNet)
{
    for (const auto &[inflected, base] : wordNet.exceptions)
        m_irregular.emplace(inflected, base);
}

std::optional<uint32_t> Lexicon::lemmaOf(const QString &token) const
{
    const std::string text = token.toStdString();
    if (const auto word = m_wordNet.findWord(text))
        return word;
    if (const auto irregular = m_irregular.find(text); irregular != m_irregular.end())
        return m_wordNet.findWord(irregular->second);
    for (const QByteArray &form : WordForms::baseForms(token.toUtf8())) {
        if (const auto word = m_wordNet.findWord(form.toStdString()))
            return word;
    }
    return std::nullopt;
}

std::string Lexicon::countedForm(const QString &token) const
{
    if (const auto lemma = lemmaOf(token))
        return m_wordNet.words[*lemma];
    return token.toStdString();
}

std::vector<uint32_t> Lexicon::lemmasIn(const std::string &text) const
{
    std::vector<uint32_t> lemmas;
    for (const QString &token : WordForms::tokens(QString::fromStdString(text).toLower())) {
        if (const auto lemma = lemmaOf(token))
            lemmas.push_back(*lemma);
    }
    return lemmas;
}
