// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes as a smart-find model. A file the loader accepts must then embed
// and compare texts without reading outside its bytes or allocating beyond its bounds.
#include "smartfind/EmbeddingModel.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    const std::unique_ptr<EmbeddingModel> model = EmbeddingModel::fromBytes(bytes, &error);
    if (!model)
        return 0;
    // Known words, a phrase, a typo, an inflection, hyphens and an unknown word.
    const QString texts[] = {
        QStringLiteral("home address"),   QStringLiteral("the passports"),
        QStringLiteral("adress pasport"), QStringLiteral("wi-fi two-factor"),
        QStringLiteral("zzzzzz qqq"),     QString(),
    };
    const EmbeddingModel::Vector first = model->vector(texts[0]);
    for (const QString &text : texts) {
        const double distance = model->distance(first, model->vector(text));
        if (!(distance >= 0.0 && distance <= 2.0))
            __builtin_trap();
    }
    return 0;
}
