// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QUuid>

// A named compartment of entries. Records are shared references owned by the store:
// two pointers are the same record exactly when they are the same object.
class Binzo : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QUuid id READ id CONSTANT)
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QString sfSymbol READ sfSymbol WRITE setSfSymbol NOTIFY sfSymbolChanged)
    Q_PROPERTY(QString colorHex READ colorHex WRITE setColorHex NOTIFY colorHexChanged)
    Q_PROPERTY(qint64 sortIndex READ sortIndex WRITE setSortIndex NOTIFY sortIndexChanged)
    Q_PROPERTY(QDateTime createdAt READ createdAt CONSTANT)
public:
    // A new compartment: fresh random id, created at createdAt.
    Binzo(const QString &name, const QString &sfSymbol, const QString &colorHex, qint64 sortIndex,
          const QDateTime &createdAt, QObject *parent = nullptr);
    // A compartment read back from the store.
    Binzo(const QUuid &id, const QString &name, const QString &sfSymbol, const QString &colorHex,
          qint64 sortIndex, const QDateTime &createdAt, QObject *parent = nullptr);

    QUuid id() const { return m_id; }
    QString name() const { return m_name; }
    QString sfSymbol() const { return m_sfSymbol; }
    QString colorHex() const { return m_colorHex; }
    qint64 sortIndex() const { return m_sortIndex; }
    QDateTime createdAt() const { return m_createdAt; }

    void setName(const QString &name);
    void setSfSymbol(const QString &sfSymbol);
    void setColorHex(const QString &colorHex);
    void setSortIndex(qint64 sortIndex);

signals:
    void nameChanged();
    void sfSymbolChanged();
    void colorHexChanged();
    void sortIndexChanged();
    // Any persistent field changed; the store marks the record for the next save.
    void changed();

private:
    QUuid m_id;
    QString m_name;
    QString m_sfSymbol;
    QString m_colorHex;
    qint64 m_sortIndex = 0;
    QDateTime m_createdAt;
};
