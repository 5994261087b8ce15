// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WordNet.h"

#include <QString>

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// Maps running text to WordNet lemmas the way the app does at run time: the app's word
// splitting, then irregular forms, then the regular detachment rules.
class Lexicon
{
public:
    explicit Lexicon(const WordNet &wordNet);

    // The lemma a token stands for, if any.
    std::optional<uint32_t> lemmaOf(const QString &token) const;
    // The text a token is counted under for word frequencies: its lemma, else itself.
    std::string countedForm(const QString &token) const;
    // Lemmas of the words of a text; unknown words are skipped.
    std::vector<uint32_t> lemmasIn(const std::string &text) const;

private:
    const WordNet &m_wordNet;
    std::unordered_map<std::string, std::string> m_irregular;
};
