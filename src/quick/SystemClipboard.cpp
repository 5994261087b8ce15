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

bool SystemClipboard::holds(const QString &value) const
{
    // Owning it first: asking another program for its contents could wait on that program.
    const QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard->ownsClipboard())
        return false;
    const QMimeData *mime = clipboard->mimeData(QClipboard::Clipboard);
    return mime && mime->text() == value;
}

void SystemClipboard::clear()
{
    QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
}
