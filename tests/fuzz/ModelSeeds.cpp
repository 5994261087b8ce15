// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the loader fuzzer's seeds into a folder: the tiny valid model, then the same with each
// header field and each word-record field at its edges, so mutations start next to every check.
//   model_fuzz_seeds FOLDER
#include "TinyModel.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <functional>
#include <limits>

namespace {

using Damage = std::function<void(TinyModel &)>;

QList<std::pair<QString, Damage>> variants()
{
    QList<std::pair<QString, Damage>> list {{"valid", [](TinyModel &) {}}};
    const float infinity = std::numeric_limits<float>::infinity();
    const float notANumber = std::numeric_limits<float>::quiet_NaN();
    const uint32_t counts[] = {0, 1, 5, 4097, 1u << 24, 1u << 31, ~0u};
    const struct
    {
        const char *name;
        uint32_t ModelFormat::Header::*field;
    } countFields[] = {
        {"version", &ModelFormat::Header::version},
        {"semanticDims", &ModelFormat::Header::semanticDims},
        {"trigramDims", &ModelFormat::Header::trigramDims},
        {"commonCount", &ModelFormat::Header::commonCount},
        {"wordCount", &ModelFormat::Header::wordCount},
        {"rowCount", &ModelFormat::Header::rowCount},
        {"maxPhraseWords", &ModelFormat::Header::maxPhraseWords},
        {"describedCount", &ModelFormat::Header::describedCount},
    };
    for (const auto &f : countFields) {
        for (const uint32_t value : counts) {
            list.append({QStringLiteral("%1-%2").arg(QLatin1String(f.name)).arg(value),
                         [field = f.field, value](TinyModel &m) { m.header.*field = value; }});
        }
    }
    for (const uint64_t value : {uint64_t(0), uint64_t(1) << 40, ~uint64_t(0)}) {
        list.append({QStringLiteral("stringBytes-%1").arg(value),
                     [value](TinyModel &m) { m.header.stringBytes = value; }});
    }
    const float reals[] = {-1.0f, 0.0f, 1.0f, 2.0f, infinity, notANumber};
    const struct
    {
        const char *name;
        float ModelFormat::Header::*field;
    } realFields[] = {
        {"trigramShare", &ModelFormat::Header::trigramShare},
        {"unknownWeight", &ModelFormat::Header::unknownWeight},
        {"cosineFloor", &ModelFormat::Header::cosineFloor},
        {"coverWeight", &ModelFormat::Header::coverWeight},
    };
    for (const auto &f : realFields) {
        for (int i = 0; i < int(std::size(reals)); ++i) {
            list.append(
                {QStringLiteral("%1-%2").arg(QLatin1String(f.name)).arg(i),
                 [field = f.field, value = reals[i]](TinyModel &m) { m.header.*field = value; }});
        }
    }
    list.append({"word-row", [](TinyModel &m) { m.words[1].row = 3; }});
    list.append({"word-offset", [](TinyModel &m) { m.words[0].stringOffset = ~0u - 2; }});
    list.append({"word-length", [](TinyModel &m) { m.words[3].length = 4; }});
    list.append({"word-weight", [=](TinyModel &m) { m.words[2].weight = notANumber; }});
    list.append({"word-order", [](TinyModel &m) { std::swap(m.words[0], m.words[2]); }});
    list.append({"scale", [=](TinyModel &m) { m.scales[0] = infinity; }});
    list.append({"common", [=](TinyModel &m) { m.common[0] = notANumber; }});
    list.append({"described-from", [](TinyModel &m) { m.describedFrom[2] = 1; }});
    list.append({"described-end", [](TinyModel &m) { m.describedFrom[4] = ~0u; }});
    return list;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: model_fuzz_seeds FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "model_fuzz_seeds: cannot create %s\n", argv[1]);
        return 1;
    }
    for (const auto &[name, damage] : variants()) {
        TinyModel model;
        damage(model);
        QFile file(folder.filePath(name + QStringLiteral(".model")));
        if (!file.open(QIODevice::WriteOnly) || file.write(model.bytes()) < 0) {
            std::fprintf(stderr, "model_fuzz_seeds: cannot write %s\n",
                         qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
