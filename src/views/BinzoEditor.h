// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

class Binzo;
class DataController;

// The form behind the binzo sheet: a name, one of the fixed symbols and one of the fixed
// swatches. Names need not be unique.
class BinzoEditor : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the view model's binzoEditor()")
    Q_MOC_INCLUDE("model/records/Binzo.h")
    Q_PROPERTY(bool isEditing READ isEditing CONSTANT)
    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(QString saveTitle READ saveTitle CONSTANT)
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QString symbol READ symbol WRITE setSymbol NOTIFY symbolChanged)
    Q_PROPERTY(QString colorHex READ colorHex WRITE setColorHex NOTIFY colorHexChanged)
    Q_PROPERTY(QStringList symbols READ symbols CONSTANT)
    Q_PROPERTY(QStringList swatches READ swatches CONSTANT)
    Q_PROPERTY(bool canSave READ canSave NOTIFY nameChanged)
public:
    // Null edits nothing: a new binzo is created.
    BinzoEditor(Binzo *editing, DataController &data, QObject *parent = nullptr);

    static QStringList symbols();
    // The swatches' hex strings in display order; their names are never shown.
    static QStringList swatches();

    bool isEditing() const { return m_editing != nullptr; }
    QString title() const;
    QString saveTitle() const;
    QString name() const { return m_name; }
    QString symbol() const { return m_symbol; }
    QString colorHex() const { return m_colorHex; }
    bool canSave() const;

    void setName(const QString &name);
    void setSymbol(const QString &symbol);
    void setColorHex(const QString &colorHex);

    // Writes all three fields at once (or creates the binzo) and emits done. Null while the
    // name is blank.
    Q_INVOKABLE Binzo *save();

signals:
    void nameChanged();
    void symbolChanged();
    void colorHexChanged();
    void done(Binzo *binzo);

private:
    Binzo *m_editing;
    DataController &m_data;
    QString m_name;
    QString m_symbol = QStringLiteral("tray.full");
    QString m_colorHex = QStringLiteral("6385F4");
};
