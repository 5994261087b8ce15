// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/store/VaultDocument.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <cmath>
#include <limits>

namespace {

const QString kFormat = QStringLiteral("binzo-export");

QJsonValue dateValue(const QDateTime &at)
{
    return at.isValid() ? QJsonValue(at.toUTC().toString(Qt::ISODateWithMs)) : QJsonValue();
}

QJsonValue idValue(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

// Reads one record's fields; the first fault wins and names the record and the field.
class FieldReader
{
public:
    FieldReader(const QJsonObject &object, QString where, QString *error)
        : m_object(object)
        , m_where(std::move(where))
        , m_error(error)
    { }

    bool ok() const { return m_ok; }

    QString string(const char *key)
    {
        const QJsonValue value = m_object.value(QLatin1String(key));
        if (!value.isString())
            fail(key, "is missing or not text");
        return value.toString();
    }
    std::optional<QString> optionalString(const char *key)
    {
        const QJsonValue value = m_object.value(QLatin1String(key));
        if (value.isUndefined() || value.isNull())
            return std::nullopt;
        if (!value.isString())
            fail(key, "is not text");
        return value.toString();
    }
    bool boolean(const char *key)
    {
        const QJsonValue value = m_object.value(QLatin1String(key));
        if (!value.isBool())
            fail(key, "is missing or not true or false");
        return value.toBool();
    }
    // JSON numbers are doubles: only whole numbers a double holds exactly are accepted.
    qint64 integer(const char *key, qint64 minimum)
    {
        const double number = m_object.value(QLatin1String(key)).toDouble(std::nan(""));
        if (!std::isfinite(number) || number != std::floor(number) || number < double(minimum)
            || std::fabs(number) > 9007199254740992.0)
            fail(key, "is missing or not a whole number in range");
        return m_ok ? qint64(number) : 0;
    }
    QUuid id(const char *key)
    {
        const QUuid id = QUuid::fromString(string(key));
        if (m_ok && id.isNull())
            fail(key, "is not an id");
        return id;
    }
    // null stands for a date the store does not have.
    QDateTime date(const char *key)
    {
        const std::optional<QString> text = optionalString(key);
        if (!text)
            return {};
        const QDateTime at = QDateTime::fromString(*text, Qt::ISODateWithMs);
        if (!at.isValid())
            fail(key, "is not a date");
        return at.toUTC();
    }

private:
    void fail(const char *key, const char *problem)
    {
        if (!m_ok)
            return;
        m_ok = false;
        *m_error = QStringLiteral("%1: \"%2\" %3")
                       .arg(m_where, QLatin1String(key), QLatin1String(problem));
    }

    QJsonObject m_object;
    QString m_where;
    QString *m_error;
    bool m_ok = true;
};

} // namespace

namespace VaultDocument {

QByteArray write(const Contents &contents)
{
    QJsonArray binzos;
    for (const BinzoRecord &binzo : contents.binzos)
        binzos.append(QJsonObject {
            {"id", idValue(binzo.id)},
            {"name", binzo.name},
            {"sfSymbol", binzo.sfSymbol},
            {"colorHex", binzo.colorHex},
            {"sortIndex", binzo.sortIndex},
            {"createdAt", dateValue(binzo.createdAt)},
        });
    QJsonArray entries;
    for (const Entry::Fields &entry : contents.entries) {
        QJsonObject object {
            {"id", idValue(entry.id)},
            {"label", entry.label},
            {"isSensitive", entry.isSensitive},
            {"binzoID", idValue(entry.binzoID)},
            {"createdAt", dateValue(entry.createdAt)},
            {"updatedAt", dateValue(entry.updatedAt)},
            {"lastUsedAt", dateValue(entry.lastUsedAt)},
            {"useCount", entry.useCount},
        };
        if (!entry.isSensitive || contents.withSecrets)
            object.insert("value",
                          entry.inlineValue ? QJsonValue(*entry.inlineValue) : QJsonValue());
        entries.append(object);
    }
    const QJsonObject document {
        {"format", kFormat},
        {"version", kVersion},
        {"exportedAt", dateValue(QDateTime::currentDateTimeUtc())},
        {"withSecrets", contents.withSecrets},
        {"binzos", binzos},
        {"entries", entries},
    };
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

static std::optional<Contents> parse(const QByteArray &json, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (document.isNull()) {
        *error = QStringLiteral("not a JSON document (%1 at byte %2)")
                     .arg(parseError.errorString())
                     .arg(parseError.offset);
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    if (root.value("format").toString() != kFormat) {
        *error = QStringLiteral("not a Binzo export");
        return std::nullopt;
    }
    if (root.value("version").toInt(-1) != kVersion) {
        *error = QStringLiteral("export version %1 is not one this Binzo reads (it reads %2)")
                     .arg(root.value("version").toVariant().toString())
                     .arg(kVersion);
        return std::nullopt;
    }
    if (!root.value("binzos").isArray() || !root.value("entries").isArray()
        || !root.value("withSecrets").isBool()) {
        *error = QStringLiteral("the document lacks \"binzos\", \"entries\" or \"withSecrets\"");
        return std::nullopt;
    }

    Contents contents;
    contents.withSecrets = root.value("withSecrets").toBool();
    QSet<QUuid> seen;
    const QJsonArray binzos = root.value("binzos").toArray();
    for (qsizetype i = 0; i < binzos.size(); ++i) {
        FieldReader field(binzos.at(i).toObject(), QStringLiteral("binzo %1").arg(i + 1), error);
        BinzoRecord binzo;
        binzo.id = field.id("id");
        binzo.name = field.string("name");
        binzo.sfSymbol = field.string("sfSymbol");
        binzo.colorHex = field.string("colorHex");
        binzo.sortIndex = field.integer("sortIndex", std::numeric_limits<qint64>::min());
        binzo.createdAt = field.date("createdAt");
        if (!field.ok())
            return std::nullopt;
        if (seen.contains(binzo.id)) {
            *error = QStringLiteral("binzo %1: its id appears twice").arg(i + 1);
            return std::nullopt;
        }
        seen.insert(binzo.id);
        contents.binzos.append(binzo);
    }
    seen.clear();
    const QJsonArray entries = root.value("entries").toArray();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QJsonObject object = entries.at(i).toObject();
        FieldReader field(object, QStringLiteral("entry %1").arg(i + 1), error);
        Entry::Fields entry;
        entry.id = field.id("id");
        entry.label = field.string("label");
        entry.isSensitive = field.boolean("isSensitive");
        entry.inlineValue = field.optionalString("value");
        entry.binzoID = field.id("binzoID");
        entry.createdAt = field.date("createdAt");
        entry.updatedAt = field.date("updatedAt");
        entry.lastUsedAt = field.date("lastUsedAt");
        entry.useCount = field.integer("useCount", 0);
        if (!field.ok())
            return std::nullopt;
        if (seen.contains(entry.id)) {
            *error = QStringLiteral("entry %1 (\u201C%2\u201D): its id appears twice")
                         .arg(i + 1)
                         .arg(entry.label);
            return std::nullopt;
        }
        seen.insert(entry.id);
        contents.entries.append(entry);
    }
    return contents;
}

Result<Contents> read(const QByteArray &json)
{
    QString error;
    std::optional<Contents> contents = parse(json, &error);
    if (!contents)
        return Failure {error};
    return std::move(*contents);
}

} // namespace VaultDocument
