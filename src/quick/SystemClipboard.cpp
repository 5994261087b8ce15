// SPDX-License-Identifier: GPL-3.0-or-later
#include "quick/SystemClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

void SystemClipboard::setText(const QString &value, bool isSecret)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear(QClipboard::Clipboard);
    auto *mime = new QMimeData;
    mime->setText(value);
    if (isSecret)
        mime->setData(secretHintFormat(), QByteArrayLiteral("secret"));
    clipboard->setMimeData(mime, QClipboard::Clipboard);
}
