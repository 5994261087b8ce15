// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Preferences.h"

#include "model/Paths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLockFile>
#include <QSaveFile>

#include <cstdio>

Preferences::Preferences(QString filePath, QObject *parent)
    : QObject(parent)
    , m_filePath(std::move(filePath))
{ }

QString Preferences::defaultFilePath()
{
    return Paths::configDir() + QStringLiteral("/preferences.json");
}

Preferences &Preferences::shared()
{
    static Preferences instance(defaultFilePath());
    return instance;
}

std::optional<QString> Preferences::string(const QString &key) const
{
    const QJsonValue value = load().value(key);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

bool Preferences::boolean(const QString &key) const
{
    const QJsonValue value = load().value(key);
    return value.isBool() && value.toBool();
}

bool Preferences::contains(const QString &key) const
{
    return load().contains(key);
}

QJsonValue Preferences::value(const QString &key) const
{
    return load().value(key);
}

QStringList Preferences::keys() const
{
    return load().keys();
}

bool Preferences::setString(const QString &key, const QString &value)
{
    return update(key, QJsonValue(value));
}

bool Preferences::setBoolean(const QString &key, bool value)
{
    return update(key, QJsonValue(value));
}

bool Preferences::remove(const QString &key)
{
    return update(key, std::nullopt);
}

QJsonObject Preferences::load() const
{
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    file.close();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error == QJsonParseError::NoError && document.isObject())
        return document.object();

    // Keep the damaged file for the user instead of overwriting it; defaults apply.
    const QString aside = m_filePath + QStringLiteral(".corrupt-")
        + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddTHHmmsszzz"));
    if (QFile::rename(m_filePath, aside)) {
        std::fprintf(stderr, "Binzo: preferences file was unreadable and was moved to %s\n",
                     qPrintable(aside));
    }
    return {};
}

bool Preferences::update(const QString &key, const std::optional<QJsonValue> &value)
{
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    QLockFile lock(m_filePath + QStringLiteral(".lock"));
    lock.setStaleLockTime(5000);
    if (!lock.tryLock(2000)) {
        std::fprintf(stderr, "Binzo: could not lock the preferences file %s\n",
                     qPrintable(m_filePath));
        return false;
    }

    QJsonObject object = load();
    if (value) {
        if (object.value(key) == *value)
            return true;
        object.insert(key, *value);
    } else {
        if (!object.contains(key))
            return true;
        object.remove(key);
    }

    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(QJsonDocument(object).toJson(QJsonDocument::Indented)) < 0
        || !file.commit()) {
        std::fprintf(stderr, "Binzo: could not write the preferences file %s: %s\n",
                     qPrintable(m_filePath), qPrintable(file.errorString()));
        return false;
    }
    lock.unlock();
    emit valueChanged(key);
    return true;
}
