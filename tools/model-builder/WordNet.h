// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// The parts of the WordNet 3.0 database the model is built from: synsets with their lemmas,
// links and glosses, and the irregular word forms.
struct WordNet
{
    struct Link
    {
        std::string symbol; // "@" hypernym, "~" hyponym, "+" derivation…
        uint32_t target = 0; // synset index
        uint16_t sourceWord = 0; // 1-based lemma position for a lexical link, 0 for the synset
    };
    struct Synset
    {
        std::vector<uint32_t> lemmas; // word ids, lower case, phrases joined by ' '
        std::vector<Link> links;
        std::string gloss; // definition and examples
    };

    std::vector<Synset> synsets;
    std::vector<std::string> words; // id -> text
    std::unordered_map<std::string, uint32_t> wordIds;
    std::vector<std::pair<std::string, std::string>> exceptions; // inflected form, base form

    // Reads data.{noun,verb,adj,adv} and {noun,verb,adj,adv}.exc; nullopt with a message on
    // stderr when a file is missing or malformed.
    static std::optional<WordNet> read(const std::string &directory);

    uint32_t wordId(const std::string &text);
    std::optional<uint32_t> findWord(const std::string &text) const;
};
