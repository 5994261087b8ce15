// SPDX-License-Identifier: GPL-3.0-or-later
#include "Glossary.h"

#include <QString>
#include <QStringList>

#include <fstream>
#include <iostream>

namespace {

// How much of a known word's WordNet meaning survives next to its description.
constexpr float kWordNetShare = 0.5f;

std::string trimmed(const std::string &text)
{
    return QString::fromStdString(text).simplified().toLower().toStdString();
}

} // namespace

std::optional<std::vector<GlossaryEntry>> readGlossary(const std::string &path)
{
    std::ifstream in(path);
    if (!in) {
        std::cerr << "cannot read " << path << '\n';
        return std::nullopt;
    }
    std::vector<GlossaryEntry> entries;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (trimmed(line).empty() || line[0] == '#')
            continue;
        const auto colon = line.find(':');
        if (colon == std::string::npos) {
            std::cerr << path << ':' << number << ": expected \"terms: description\"\n";
            return std::nullopt;
        }
        GlossaryEntry entry;
        for (const QString &term : QString::fromStdString(line.substr(0, colon)).split(',')) {
            if (const std::string text = trimmed(term.toStdString()); !text.empty())
                entry.terms.push_back(text);
        }
        entry.description = line.substr(colon + 1);
        if (entry.terms.empty() || trimmed(entry.description).empty()) {
            std::cerr << path << ':' << number << ": empty term or description\n";
            return std::nullopt;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

void applyGlossary(const std::vector<GlossaryEntry> &glossary, const Eigen::MatrixXf &common,
                   WordSpace &space)
{
    for (const GlossaryEntry &entry : glossary) {
        Eigen::VectorXf meaning = space.sentence(QString::fromStdString(entry.description));
        if (meaning.norm() == 0.0f) {
            std::cerr << "glossary: no known word in the description of " << entry.terms[0] << '\n';
            continue;
        }
        for (Eigen::Index c = 0; c < common.rows(); ++c)
            meaning -= common.row(c).dot(meaning) * common.row(c).transpose();
        meaning.normalize();
        for (const std::string &term : entry.terms) {
            Eigen::VectorXf vector = meaning;
            if (const auto row = space.find(term))
                vector = kWordNetShare * space.vector(*row) + (1.0f - kWordNetShare) * meaning;
            space.place(term, vector.normalized());
        }
    }
}
