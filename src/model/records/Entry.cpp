// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/records/Entry.h"

#include "model/records/Binzo.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

// Positions where user-perceived characters (extended grapheme clusters) begin, plus the end.
QList<qsizetype> graphemeBoundaries(const QString &text)
{
    QList<qsizetype> boundaries;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.toStart();
    for (qsizetype at = finder.position(); at >= 0; at = finder.toNextBoundary())
        boundaries.append(at);
    if (boundaries.isEmpty() || boundaries.last() != text.size())
        boundaries.append(text.size());
    return boundaries;
}

} // namespace

Entry::Entry(const QString &label, bool isSensitive, const Binzo &binzo, const QDateTime &now,
             QObject *parent)
    : QObject(parent)
{
    m_fields.id = QUuid::createUuid();
    m_fields.label = label;
    m_fields.binzoID = binzo.id();
    m_fields.isSensitive = isSensitive;
    m_fields.createdAt = now;
    m_fields.updatedAt = now;
}

Entry::Entry(Fields fields, QObject *parent)
    : QObject(parent)
    , m_fields(std::move(fields))
{ }

void Entry::setLabel(const QString &label)
{
    if (m_fields.label == label)
        return;
    m_fields.label = label;
    emit labelChanged();
    emit changed();
}

void Entry::setInlineValue(const std::optional<QString> &value)
{
    if (m_fields.inlineValue == value)
        return;
    m_fields.inlineValue = value;
    emit inlineValueChanged();
    emit changed();
}

void Entry::setIsSensitive(bool isSensitive)
{
    if (m_fields.isSensitive == isSensitive)
        return;
    m_fields.isSensitive = isSensitive;
    emit isSensitiveChanged();
    emit changed();
}

void Entry::setBinzoID(const QUuid &binzoID)
{
    if (m_fields.binzoID == binzoID)
        return;
    m_fields.binzoID = binzoID;
    emit binzoIDChanged();
    emit changed();
}

void Entry::setUpdatedAt(const QDateTime &at)
{
    if (m_fields.updatedAt == at)
        return;
    m_fields.updatedAt = at;
    emit updatedAtChanged();
    emit changed();
}

void Entry::setLastUsedAt(const QDateTime &at)
{
    if (m_fields.lastUsedAt == at)
        return;
    m_fields.lastUsedAt = at;
    emit lastUsedAtChanged();
    emit changed();
}

void Entry::setUseCount(qint64 count)
{
    if (m_fields.useCount == count)
        return;
    m_fields.useCount = count;
    emit useCountChanged();
    emit changed();
}

QString Entry::displayValue(const std::optional<QString> &value, bool revealed) const
{
    if (!value || value->isEmpty())
        return QStringLiteral("\u2014");
    if (!m_fields.isSensitive || revealed)
        return *value;
    return maskedValue(*value);
}

QString Entry::maskedValue(const QString &value)
{
    const QList<qsizetype> boundaries = graphemeBoundaries(value);
    const qsizetype characters = boundaries.size() - 1;
    const qsizetype bullets = std::clamp<qsizetype>(characters - 4, 4, 12);
    const qsizetype tailStart = characters <= 4 ? 0 : boundaries.at(characters - 4);
    return QString(bullets, QChar(0x2022)) + QLatin1Char(' ') + value.mid(tailStart);
}
