// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QObject>

// The appearance the windows are drawn in.
enum class Appearance { Light, Dark };

// The five colours every surface is drawn with, for one effective appearance. A gadget, so
// QML reads Theme.neu.base and friends directly.
struct NeuPalette
{
    Q_GADGET
    Q_PROPERTY(QColor base MEMBER base CONSTANT)
    Q_PROPERTY(QColor dark MEMBER dark CONSTANT)
    Q_PROPERTY(QColor light MEMBER light CONSTANT)
    Q_PROPERTY(QColor textPrimary MEMBER textPrimary CONSTANT)
    Q_PROPERTY(QColor textSecondary MEMBER textSecondary CONSTANT)
public:
    QColor base;
    QColor dark;
    QColor light;
    QColor textPrimary;
    QColor textSecondary;

    static NeuPalette forAppearance(Appearance appearance);

    bool operator==(const NeuPalette &) const = default;
};
Q_DECLARE_METATYPE(NeuPalette)
