// SPDX-License-Identifier: GPL-3.0-or-later
#include "WordNet.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

struct PendingLink
{
    uint32_t synset;
    std::string symbol;
    char file;
    uint32_t offset;
    uint16_t sourceWord;
};

// Satellite adjectives live in the adjective file.
char fileOf(char pos)
{
    return pos == 's' ? 'a' : pos;
}

uint64_t key(char file, uint32_t offset)
{
    return (uint64_t(uint8_t(file)) << 32) | offset;
}

std::string lemmaText(std::string lemma)
{
    // Adjective position markers: "galore(ip)".
    if (const auto marker = lemma.find('('); marker != std::string::npos)
        lemma.erase(marker);
    for (char &c : lemma) {
        c = char(std::tolower(uint8_t(c)));
        if (c == '_')
            c = ' ';
    }
    return lemma;
}

} // namespace

uint32_t WordNet::wordId(const std::string &text)
{
    const auto [it, inserted] = wordIds.emplace(text, uint32_t(words.size()));
    if (inserted)
        words.push_back(text);
    return it->second;
}

std::optional<uint32_t> WordNet::findWord(const std::string &text) const
{
    const auto it = wordIds.find(text);
    if (it == wordIds.end())
        return std::nullopt;
    return it->second;
}

std::optional<WordNet> WordNet::read(const std::string &directory)
{
    WordNet wordNet;
    std::unordered_map<uint64_t, uint32_t> synsetIndex;
    std::vector<PendingLink> pending;
    const std::array<std::pair<const char *, char>, 4> files
        = {{{"noun", 'n'}, {"verb", 'v'}, {"adj", 'a'}, {"adv", 'r'}}};

    for (const auto &[name, file] : files) {
        const std::string path = directory + "/data." + name;
        std::ifstream in(path);
        if (!in) {
            std::cerr << "cannot read " << path << '\n';
            return std::nullopt;
        }
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == ' ')
                continue; // licence header
            const auto bar = line.find(" | ");
            std::istringstream fields(line.substr(0, bar));
            uint32_t offset = 0;
            std::string lexFile, pos, count;
            fields >> offset >> lexFile >> pos >> count;
            const uint32_t index = uint32_t(wordNet.synsets.size());
            Synset synset;
            const unsigned lemmaCount = std::stoul(count, nullptr, 16);
            for (unsigned i = 0; i < lemmaCount; ++i) {
                std::string lemma, lexId;
                fields >> lemma >> lexId;
                synset.lemmas.push_back(wordNet.wordId(lemmaText(lemma)));
            }
            unsigned linkCount = 0;
            fields >> linkCount;
            for (unsigned i = 0; i < linkCount; ++i) {
                std::string symbol, targetPos, sourceTarget;
                uint32_t target = 0;
                fields >> symbol >> target >> targetPos >> sourceTarget;
                if (!fields || targetPos.empty() || sourceTarget.size() != 4) {
                    std::cerr << "malformed link in " << path << " at " << offset << '\n';
                    return std::nullopt;
                }
                const auto source = uint16_t(std::stoul(sourceTarget.substr(0, 2), nullptr, 16));
                pending.push_back({index, symbol, fileOf(targetPos[0]), target, source});
            }
            if (!fields) {
                std::cerr << "malformed synset in " << path << " at " << offset << '\n';
                return std::nullopt;
            }
            if (bar != std::string::npos)
                synset.gloss = line.substr(bar + 3);
            synsetIndex.emplace(key(file, offset), index);
            wordNet.synsets.push_back(std::move(synset));
        }
    }
    for (const PendingLink &link : pending) {
        const auto target = synsetIndex.find(key(link.file, link.offset));
        if (target == synsetIndex.end()) {
            std::cerr << "dangling link to " << link.offset << '\n';
            return std::nullopt;
        }
        wordNet.synsets[link.synset].links.push_back(
            {link.symbol, target->second, link.sourceWord});
    }

    for (const char *name : {"noun", "verb", "adj", "adv"}) {
        const std::string path = directory + "/" + name + ".exc";
        std::ifstream in(path);
        if (!in) {
            std::cerr << "cannot read " << path << '\n';
            return std::nullopt;
        }
        std::string inflected, base, line;
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            if (fields >> inflected >> base)
                wordNet.exceptions.emplace_back(lemmaText(inflected), lemmaText(base));
        }
    }
    return wordNet;
}
