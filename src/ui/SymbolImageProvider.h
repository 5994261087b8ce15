// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QQuickImageProvider>

// "image://symbol/<name>/<rrggbb or aarrggbb>": a named symbol tinted in one colour, at the
// requested size (Symbol.qml builds the URL). Unknown names give a transparent image.
class SymbolImageProvider : public QQuickImageProvider
{
public:
    SymbolImageProvider();
    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

    static QImage render(const QString &name, const QColor &color, const QSize &size);
};
