// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/EntryEditor.h"

#include "model/secrets/KeychainStore.h"
#include "model/store/DataController.h"
#include "views/FormText.h"

EntryEditor::EntryEditor(Mode mode, DataController &data, Detector detector, QObject *parent)
    : QObject(parent)
    , m_mode(mode)
    , m_data(data)
    , m_detector(std::move(detector))
{
    // Loading an edited entry is not a change of the value: no suggestion until the user
    // types, so opening an API key does not greet the user with "Looks like…".
    if (Entry *entry = m_mode.entry) {
        m_label = entry->label();
        m_value = entry->resolvedValue().value_or(QString());
        m_isSensitive = entry->isSensitive();
    }
}

QString EntryEditor::title() const
{
    return isEditing() ? tr("Edit Entry") : tr("New Entry");
}

QString EntryEditor::saveTitle() const
{
    return isEditing() ? tr("Save") : tr("Add");
}

void EntryEditor::setLabel(const QString &label)
{
    if (label == m_label)
        return;
    m_label = label;
    emit labelChanged();
    emit canSaveChanged();
}

void EntryEditor::setValue(const QString &value)
{
    if (value == m_value)
        return;
    m_value = value;
    emit valueChanged();
    emit canSaveChanged();
    m_detection = m_detector ? m_detector(value) : std::nullopt;
    emit detectionChanged();
}

void EntryEditor::setIsSensitive(bool isSensitive)
{
    if (isSensitive == m_isSensitive)
        return;
    m_isSensitive = isSensitive;
    emit isSensitiveChanged();
}

// An edited entry never moves, so offering its binzo would promise what Apply won't do.
bool EntryEditor::offersBinzo() const
{
    if (!m_detection || isEditing())
        return false;
    if (m_mode.target && sameBinzoName(m_mode.target->name(), m_detection->suggestedBinzo))
        return false;
    return m_data.binzo(m_detection->suggestedBinzo) != nullptr;
}

QString EntryEditor::suggestionTitle() const
{
    return m_detection ? tr("Looks like a ") + m_detection->kind : QString();
}

QString EntryEditor::suggestionSubtitle() const
{
    if (!m_detection)
        return {};
    if (offersBinzo()) {
        return tr("File in \u201C") + m_detection->suggestedBinzo + u'\u201D'
            + (m_detection->isSensitive ? tr(" \u00B7 mark secret") : QString());
    }
    return m_detection->isSensitive ? tr("Mark as secret") : tr("Set a label");
}

void EntryEditor::apply()
{
    if (!m_detection)
        return;
    const Detection detection = *m_detection;
    setIsSensitive(detection.isSensitive);
    if (trimmedWhitespace(m_label).isEmpty())
        setLabel(detection.suggestedLabel);
    if (!isEditing() && m_data.binzo(detection.suggestedBinzo))
        m_targetBinzoName = detection.suggestedBinzo;
    m_detection.reset();
    emit detectionChanged();
}

bool EntryEditor::canSave() const
{
    return !trimmedWhitespace(m_label).isEmpty() && !m_value.isEmpty();
}

// The binzo chosen through a suggestion may have been deleted since; the host's target stays.
Binzo *EntryEditor::saveTarget() const
{
    if (m_targetBinzoName) {
        if (Binzo *named = m_data.binzo(*m_targetBinzoName))
            return named;
    }
    return m_mode.target;
}

bool EntryEditor::save()
{
    setErrorText({});
    if (!canSave())
        return false;
    const QString label = trimmedWhitespace(m_label);
    Binzo *holder = nullptr;
    bool stored = false;
    if (Entry *entry = m_mode.entry) {
        stored = m_data.updateEntry(entry, label, m_value, m_isSensitive);
        holder = m_data.binzo(entry->binzoID());
    } else if (Binzo *target = saveTarget()) {
        stored = m_data.addEntry(target, label, m_value, m_isSensitive) != nullptr;
        holder = target;
    } else {
        setErrorText(tr("There is no binzo to add the entry to."));
        return false;
    }
    if (!stored) {
        // Only a secret-store write can refuse; the form keeps everything for another try.
        setErrorText(tr("Couldn't store the value in the system keyring: ")
                     + KeychainStore::shared().lastError());
        return false;
    }
    emit done(holder);
    return true;
}

void EntryEditor::setErrorText(const QString &text)
{
    if (text == m_errorText)
        return;
    m_errorText = text;
    emit errorTextChanged();
}
