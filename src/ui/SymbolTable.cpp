// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SymbolTable.h"

#include <QStringView>

#include <array>

namespace {

// Every symbol name the views use; each has <name>.svg under :/symbols, drawn in black on a
// 24 x 24 grid so it can be tinted to any colour.
constexpr std::array kNames = {
    u"1.square",
    u"arrow.down",
    u"arrow.right.circle.fill",
    u"arrow.up",
    u"arrow.up.arrow.down",
    u"bolt.fill",
    u"briefcase.fill",
    u"checkmark.circle.fill",
    u"chevron.right",
    u"circle.lefthalf.filled",
    u"command",
    u"creditcard.fill",
    u"doc.on.doc",
    u"doc.text.fill",
    u"envelope.fill",
    u"eye",
    u"eye.slash",
    u"gearshape",
    u"globe",
    u"house.fill",
    u"info.circle",
    u"key.fill",
    u"link",
    u"lock.fill",
    u"lock.shield",
    u"lock.shield.fill",
    u"magnifyingglass",
    u"moon.fill",
    u"person.crop.circle",
    u"phone.fill",
    u"plus",
    u"return",
    u"sparkles",
    u"square.grid.2x2",
    u"square.grid.2x2.fill",
    u"star.fill",
    u"sun.max.fill",
    u"trash.fill",
    u"tray",
    u"tray.full",
    u"xmark.circle.fill",
};

} // namespace

namespace SymbolTable {

QStringList names()
{
    QStringList list;
    for (const char16_t *name : kNames)
        list.append(QString::fromUtf16(name));
    return list;
}

QString resourcePath(const QString &name)
{
    for (const char16_t *known : kNames) {
        if (name == QStringView(known))
            return QStringLiteral(":/symbols/") + name + QStringLiteral(".svg");
    }
    return {};
}

} // namespace SymbolTable
