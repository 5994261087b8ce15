// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

// The per-user preferences: a typed JSON object in one file. Every read goes to the file, so
// other processes' writes are seen; writes are atomic and serialised by a lock file.
class Preferences : public QObject
{
    Q_OBJECT
public:
    explicit Preferences(QString filePath, QObject *parent = nullptr);

    // $XDG_CONFIG_HOME/binzo/preferences.json, ~/.config when the variable is unset.
    static QString defaultFilePath();
    static Preferences &shared();

    QString filePath() const { return m_filePath; }

    // Absent when there is no entry or it is not a string.
    std::optional<QString> string(const QString &key) const;
    // False when there is no entry or it is not a boolean.
    bool boolean(const QString &key) const;
    // Absent when there is no entry or it is not a whole number.
    std::optional<qint64> integer(const QString &key) const;
    bool contains(const QString &key) const;
    // The entry as stored; undefined when there is none.
    QJsonValue value(const QString &key) const;
    QStringList keys() const;

    bool setString(const QString &key, const QString &value);
    bool setBoolean(const QString &key, bool value);
    bool setInteger(const QString &key, qint64 value);
    bool remove(const QString &key);

signals:
    void valueChanged(const QString &key);

private:
    QJsonObject load() const;
    bool update(const QString &key, const std::optional<QJsonValue> &value);

    QString m_filePath;
};
