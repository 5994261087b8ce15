// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The named symbols the views draw, each mapped to one glyph of our own SVG set.
namespace SymbolTable {

QStringList names();
// The glyph's resource path, or empty for a name that has none.
QString resourcePath(const QString &name);

} // namespace SymbolTable
