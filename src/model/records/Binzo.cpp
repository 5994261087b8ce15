// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/records/Binzo.h"

Binzo::Binzo(const QString &name, const QString &sfSymbol, const QString &colorHex,
             qint64 sortIndex, const QDateTime &createdAt, QObject *parent)
    : Binzo(QUuid::createUuid(), name, sfSymbol, colorHex, sortIndex, createdAt, parent)
{ }

Binzo::Binzo(const QUuid &id, const QString &name, const QString &sfSymbol, const QString &colorHex,
             qint64 sortIndex, const QDateTime &createdAt, QObject *parent)
    : QObject(parent)
    , m_id(id)
    , m_name(name)
    , m_sfSymbol(sfSymbol)
    , m_colorHex(colorHex)
    , m_sortIndex(sortIndex)
    , m_createdAt(createdAt)
{ }

void Binzo::setName(const QString &name)
{
    if (m_name == name)
        return;
    m_name = name;
    emit nameChanged();
    emit changed();
}

void Binzo::setSfSymbol(const QString &sfSymbol)
{
    if (m_sfSymbol == sfSymbol)
        return;
    m_sfSymbol = sfSymbol;
    emit sfSymbolChanged();
    emit changed();
}

void Binzo::setColorHex(const QString &colorHex)
{
    if (m_colorHex == colorHex)
        return;
    m_colorHex = colorHex;
    emit colorHexChanged();
    emit changed();
}

void Binzo::setSortIndex(qint64 sortIndex)
{
    if (m_sortIndex == sortIndex)
        return;
    m_sortIndex = sortIndex;
    emit sortIndexChanged();
    emit changed();
}
