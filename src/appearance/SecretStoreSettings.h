// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QVariantList>

class DataController;
class KeychainStore;

// The "Sensitive values" card of the settings: where the secrets live, and moving them all
// to the other store. Moving copies every secret, checks each copy, and only then switches;
// a move that fails or is interrupted leaves every secret readable where it was.
class SecretStoreSettings : public QObject
{
    Q_OBJECT
    // "secret-service" or "file"; empty until the store is chosen.
    Q_PROPERTY(QString storeName READ storeName NOTIFY changed)
    Q_PROPERTY(QString location READ location NOTIFY changed)
    // The stores to choose from: name, label and symbol of each.
    Q_PROPERTY(QVariantList stores READ stores CONSTANT)
    Q_PROPERTY(bool isMoving READ isMoving NOTIFY changed)
    // Where the values are, or how moving them goes.
    Q_PROPERTY(QString statusText READ statusText NOTIFY changed)
    Q_PROPERTY(bool failed READ failed NOTIFY changed)
public:
    SecretStoreSettings(DataController &data, KeychainStore &secrets, QObject *parent = nullptr);

    QString storeName() const;
    QString location() const;
    static QVariantList stores();
    bool isMoving() const { return m_moving; }
    QString statusText() const;
    bool failed() const { return m_failed; }

    Q_INVOKABLE void moveTo(const QString &storeName);

signals:
    void changed();

private:
    void setStatus(const QString &text, bool failed);

    DataController &m_data;
    KeychainStore &m_secrets;
    bool m_moving = false;
    bool m_failed = false;
    QString m_statusText;
};
