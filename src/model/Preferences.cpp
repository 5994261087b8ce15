// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Preferences.h"

#include "model/Logging.h"
#include "model/Paths.h"
#include "model/secrets/PrivateFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <cmath>

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

std::optional<qint64> Preferences::integer(const QString &key) const
{
    const QJsonValue value = load().value(key);
    const double number = value.toDouble();
    if (!value.isDouble() || number != std::trunc(number))
        return std::nullopt;
    return qint64(number);
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

bool Preferences::setInteger(const QString &key, qint64 value)
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
        QFile::setPermissions(aside, QFile::ReadOwner | QFile::WriteOwner);
        qCWarning(lcModel, "preferences file was unreadable and was moved to %s",
                  qPrintable(aside));
    }
    return {};
}

bool Preferences::update(const QString &key, const std::optional<QJsonValue> &value)
{
    const QString folder = QFileInfo(m_filePath).absolutePath();
    if (!QFileInfo::exists(folder))
        Paths::ensurePrivateDir(folder);
    {
        // Released before observers hear of the change, as they may write in turn.
        const PrivateFile::Lock lock(m_filePath + QStringLiteral(".lock"), 2000);
        if (!lock.isLocked()) {
            qCWarning(lcModel, "could not lock the preferences file %s", qPrintable(m_filePath));
            return false;
        }
        QJsonObject object = load();
        if (value ? object.value(key) == *value : !object.contains(key))
            return true;
        if (value)
            object.insert(key, *value);
        else
            object.remove(key);
        const Result<void> written = PrivateFile::replace(
            m_filePath, QJsonDocument(object).toJson(QJsonDocument::Indented));
        if (!written) {
            qCWarning(lcModel, "could not write the preferences file: %s",
                      qPrintable(written.error()));
            return false;
        }
    }
    emit valueChanged(key);
    return true;
}
