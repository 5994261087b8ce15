// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QUuid>

#include <optional>

class Binzo;

// One stored value with a label, filed under one compartment by binzoID. A sensitive entry
// keeps its value in the secret store under its id and has no inline value.
class Entry : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QUuid id READ id CONSTANT)
    Q_PROPERTY(QString label READ label NOTIFY labelChanged)
    Q_PROPERTY(bool isSensitive READ isSensitive NOTIFY isSensitiveChanged)
    Q_PROPERTY(QUuid binzoID READ binzoID NOTIFY binzoIDChanged)
    Q_PROPERTY(QDateTime lastUsedAt READ lastUsedAt NOTIFY lastUsedAtChanged)
    Q_PROPERTY(qint64 useCount READ useCount NOTIFY useCountChanged)
public:
    // A new entry for a compartment: fresh id, createdAt == updatedAt == now, no inline value,
    // never used.
    Entry(const QString &label, bool isSensitive, const Binzo &binzo, const QDateTime &now,
          QObject *parent = nullptr);

    struct Fields
    {
        QUuid id;
        QString label;
        std::optional<QString> inlineValue;
        bool isSensitive = false;
        QUuid binzoID;
        QDateTime createdAt;
        QDateTime updatedAt;
        QDateTime lastUsedAt; // invalid while never used
        qint64 useCount = 0;

        friend bool operator==(const Fields &, const Fields &) = default;
    };
    // An entry read back from the store.
    explicit Entry(Fields fields, QObject *parent = nullptr);

    QUuid id() const { return m_fields.id; }
    QString label() const { return m_fields.label; }
    std::optional<QString> inlineValue() const { return m_fields.inlineValue; }
    bool isSensitive() const { return m_fields.isSensitive; }
    QUuid binzoID() const { return m_fields.binzoID; }
    QDateTime createdAt() const { return m_fields.createdAt; }
    QDateTime updatedAt() const { return m_fields.updatedAt; }
    QDateTime lastUsedAt() const { return m_fields.lastUsedAt; }
    qint64 useCount() const { return m_fields.useCount; }
    const Fields &fields() const { return m_fields; }

    void setLabel(const QString &label);
    void setInlineValue(const std::optional<QString> &value);
    void setIsSensitive(bool isSensitive);
    void setBinzoID(const QUuid &binzoID);
    void setUpdatedAt(const QDateTime &at);
    void setLastUsedAt(const QDateTime &at);
    void setUseCount(qint64 count);

    // The text of a row's value line for the entry's value (the inline value, or for a
    // sensitive entry the one read from the secret store): "—" without a value, the value
    // when ordinary or revealed, otherwise bullets and the last four user-perceived
    // characters.
    QString displayValue(const std::optional<QString> &value, bool revealed) const;
    // The masking rule alone, for a value that is already known.
    static QString maskedValue(const QString &value);

signals:
    void labelChanged();
    void inlineValueChanged();
    void isSensitiveChanged();
    void binzoIDChanged();
    void updatedAtChanged();
    void lastUsedAtChanged();
    void useCountChanged();
    // Any persistent field changed; the store marks the record for the next save.
    void changed();

private:
    Fields m_fields;
};
