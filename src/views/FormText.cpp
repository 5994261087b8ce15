// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/FormText.h"

#include <QLocale>

namespace {

bool isHorizontalWhitespace(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

} // namespace

QString trimmedWhitespace(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isHorizontalWhitespace(text.at(begin)))
        ++begin;
    while (end > begin && isHorizontalWhitespace(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

bool sameBinzoName(const QString &a, const QString &b)
{
    const QLocale locale;
    return QString::localeAwareCompare(locale.toLower(a), locale.toLower(b)) == 0;
}
