// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/BinzoEditor.h"

#include "model/records/Binzo.h"
#include "model/store/DataController.h"
#include "views/FormText.h"

BinzoEditor::BinzoEditor(Binzo *editing, DataController &data, QObject *parent)
    : QObject(parent)
    , m_editing(editing)
    , m_data(data)
{
    if (m_editing) {
        m_name = m_editing->name();
        m_symbol = m_editing->sfSymbol();
        m_colorHex = m_editing->colorHex();
    }
}

QStringList BinzoEditor::symbols()
{
    return {"tray.full",     "person.crop.circle", "key.fill",   "creditcard.fill",
            "lock.fill",     "envelope.fill",      "phone.fill", "link",
            "doc.text.fill", "star.fill",          "bolt.fill",  "globe",
            "house.fill",    "briefcase.fill"};
}

QStringList BinzoEditor::swatches()
{
    // Indigo, Violet, Pink, Coral, Amber, Green, Teal, Blue, Slate.
    return {"6385F4", "9B6BF4", "F46BC0", "F4796B", "F4B26B",
            "5FC98A", "5FC9C9", "5FA8F4", "8A93A6"};
}

QString BinzoEditor::title() const
{
    return isEditing() ? tr("Edit Binzo") : tr("New Binzo");
}

QString BinzoEditor::saveTitle() const
{
    return isEditing() ? tr("Save") : tr("Create");
}

bool BinzoEditor::canSave() const
{
    return !trimmedWhitespace(m_name).isEmpty();
}

void BinzoEditor::setName(const QString &name)
{
    if (name == m_name)
        return;
    m_name = name;
    emit nameChanged();
}

void BinzoEditor::setSymbol(const QString &symbol)
{
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    emit symbolChanged();
}

void BinzoEditor::setColorHex(const QString &colorHex)
{
    if (colorHex == m_colorHex)
        return;
    m_colorHex = colorHex;
    emit colorHexChanged();
}

Binzo *BinzoEditor::save()
{
    if (!canSave())
        return nullptr;
    const QString name = trimmedWhitespace(m_name);
    Binzo *result = m_editing;
    if (result) {
        result->setName(name);
        result->setSfSymbol(m_symbol);
        result->setColorHex(m_colorHex);
        m_data.save();
    } else {
        result = m_data.addBinzo(name, m_symbol, m_colorHex);
    }
    emit done(result);
    return result;
}
