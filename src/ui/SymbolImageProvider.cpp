// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SymbolImageProvider.h"

#include "ui/SymbolTable.h"

#include <QPainter>
#include <QSvgRenderer>

namespace {

constexpr int kDefaultSize = 24;

QColor parseColor(const QString &hex)
{
    bool ok = false;
    const uint value = hex.toUInt(&ok, 16);
    if (!ok)
        return Qt::black;
    if (hex.size() == 8)
        return QColor::fromRgba(QRgb(value));
    return QColor::fromRgb(QRgb(0xFF000000u | value));
}

} // namespace

SymbolImageProvider::SymbolImageProvider()
    : QQuickImageProvider(QQuickImageProvider::Image)
{ }

QImage SymbolImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    const qsizetype slash = id.lastIndexOf(u'/');
    const QString name = slash < 0 ? id : id.left(slash);
    const QColor color = slash < 0 ? QColor(Qt::black) : parseColor(id.mid(slash + 1));
    const QSize target(requestedSize.width() > 0 ? requestedSize.width() : kDefaultSize,
                       requestedSize.height() > 0 ? requestedSize.height() : kDefaultSize);
    if (size)
        *size = target;
    return render(name, color, target);
}

QImage SymbolImageProvider::render(const QString &name, const QColor &color, const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QString path = SymbolTable::resourcePath(name);
    if (path.isEmpty())
        return image;
    QSvgRenderer svg(path);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.setAspectRatioMode(Qt::KeepAspectRatio);
    svg.render(&painter);
    // The glyphs are black; keep their coverage and take the colour.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    return image;
}
