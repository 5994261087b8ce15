// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QStringView>

// Colours are stored as six hex digits without a mark ("6385F4"). Any "#" at either end is
// ignored, the leading hex digits are read (none gives black) and only the low 24 bits count,
// so every string gives an opaque colour and none is an error.
QColor colorFromHex(QStringView text);
