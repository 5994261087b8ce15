// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ColorHex.h"

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

QColor colorFromHex(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u'#')
        ++begin;
    while (end > begin && text[end - 1] == u'#')
        --end;

    quint32 rgb = 0;
    for (qsizetype i = begin; i < end; ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0)
            break;
        rgb = ((rgb << 4) | quint32(digit)) & 0xFFFFFFu;
    }
    return QColor::fromRgb(QRgb(0xFF000000u | rgb));
}
