// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Eigen/Dense>

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// Unit word vectors with their texts and SIF weights, and the sentence average the app
// computes at run time (greedy phrases, SIF weights), so the builder can place new words.
class WordSpace
{
public:
    WordSpace(std::vector<std::string> texts, Eigen::MatrixXf vectors,
              std::unordered_map<std::string, uint64_t> counts);

    int dims() const { return int(m_vectors.cols()); }
    size_t size() const { return m_texts.size(); }
    const std::string &text(uint32_t row) const { return m_texts[row]; }
    Eigen::VectorXf vector(uint32_t row) const;
    std::optional<uint32_t> find(const std::string &text) const;
    const std::unordered_map<std::string, uint64_t> &counts() const { return m_counts; }

    // SIF weight a / (a + p(word)) from the word's frequency in WordNet's glosses.
    float weight(const std::string &text) const;
    // SIF-weighted sum of the word vectors of a text; zero when it has no known word.
    Eigen::VectorXf sentence(const QString &text) const;

    // Sets the vector of a word, adding the word when new.
    void place(const std::string &text, const Eigen::VectorXf &unitVector);
    int maxPhraseWords() const { return m_maxPhraseWords; }

private:
    std::optional<uint32_t> resolve(const QString &token) const;

    std::vector<std::string> m_texts;
    Eigen::MatrixXf m_vectors; // WordNet's words
    std::vector<Eigen::VectorXf> m_added; // words only the glossary knows; growing the matrix
                                          // would copy it once per word
    std::unordered_map<std::string, uint32_t> m_rows;
    std::unordered_map<std::string, uint64_t> m_counts;
    uint64_t m_total = 0;
    int m_maxPhraseWords = 1;
};
