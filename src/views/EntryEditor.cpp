// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/EntryEditor.h"

#include "model/secrets/KeychainStore.h"
#include "model/store/DataController.h"
#include "views/FormText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLocale>
#include <QPointer>

#include <algorithm>
#include <climits>

EntryEditor::EntryEditor(Mode mode, DataController &data, Detector detector, QObject *parent)
    : QObject(parent)
    , m_mode(mode)
    , m_data(data)
    , m_detector(std::move(detector))
{
    connect(&m_data, &DataController::saveStateChanged, this, &EntryEditor::followStore);
    // Loading an edited entry is not a change of the value: no suggestion until the user
    // types, so opening an API key does not greet the user with "Looks like…".
    if (Entry *entry = m_mode.entry) {
        m_label = entry->label();
        m_value = entry->inlineValue().value_or(QString());
        m_isSensitive = entry->isSensitive();
        const QList<Binzo *> binzos = m_data.binzos();
        m_binzos = QList<QObject *>(binzos.cbegin(), binzos.cend());
        m_binzoIndex = int(binzos.indexOf(m_data.binzo(entry->binzoID())));
        if (m_isSensitive)
            loadValue();
    }
    connect(&m_data.secrets(), &KeychainStore::answeringChanged, this,
            &EntryEditor::statusTextChanged);
}

void EntryEditor::loadValue()
{
    setLoading(true);
    QPointer<Entry> entry(m_mode.entry);
    m_data.secrets().read(
        entry->id(), KeychainStore::Purpose::Use, this, [this, entry](const SecretResult &result) {
            setLoading(false);
            switch (result.status) {
            case SecretResult::Status::Done:
                // Not a change by the user: no suggestion.
                if (m_value.isEmpty()) {
                    m_value = QString::fromUtf8(result.value);
                    emit valueChanged();
                    emit canSaveChanged();
                }
                break;
            case SecretResult::Status::Missing:
                break;
            case SecretResult::Status::Locked:
                setErrorText(tr("The system keyring is locked. Unlock it to see the value."));
                // Read again once the person has unlocked it in the prompt this opens.
                connect(
                    &m_data.secrets(), &KeychainStore::unlocked, this,
                    [this, entry] {
                        if (entry && m_value.isEmpty() && !m_loading) {
                            setErrorText({});
                            loadValue();
                        }
                    },
                    Qt::SingleShotConnection);
                m_data.secrets().unlock();
                break;
            default:
                setErrorText(tr("Couldn't read the value: ") + result.error);
                break;
            }
        });
}

void EntryEditor::setBinzoIndex(int index)
{
    if (index == m_binzoIndex || index < 0 || index >= m_binzos.size())
        return;
    m_binzoIndex = index;
    emit binzoIndexChanged();
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
    if (refuseIfTooLong(value.size())) {
        emit valueChanged();
        return;
    }
    if (value == m_value)
        return;
    m_value = value;
    emit valueChanged();
    emit canSaveChanged();
    m_detection = m_detector ? m_detector(value) : std::nullopt;
    emit detectionChanged();
    // Protected by default: a recognised secret is never saved in plain text by a Return.
    if (m_detection && m_detection->isSensitive && !m_userSetSensitivity)
        assignIsSensitive(true);
}

bool EntryEditor::admitsInsertion(int insertedLength, int replacedLength)
{
    const qsizetype replaced = std::clamp<qsizetype>(replacedLength, 0, m_value.size());
    return !refuseIfTooLong(m_value.size() - replaced + std::max(insertedLength, 0));
}

bool EntryEditor::admitsPaste(int replacedLength, bool selection)
{
    const QString pasted = QGuiApplication::clipboard()->text(selection ? QClipboard::Selection
                                                                        : QClipboard::Clipboard);
    return admitsInsertion(int(std::min<qsizetype>(pasted.size(), INT_MAX)), replacedLength);
}

bool EntryEditor::refuseIfTooLong(qsizetype length)
{
    if (length <= kMaxValueLength) {
        setValueError({});
        return false;
    }
    const QLocale locale;
    setValueError(tr("This value would have %1 characters; Binzo keeps values of up to %2. "
                     "Nothing was changed.")
                      .arg(locale.toString(length), locale.toString(kMaxValueLength)));
    return true;
}

void EntryEditor::setIsSensitive(bool isSensitive)
{
    m_userSetSensitivity = true;
    assignIsSensitive(isSensitive);
}

void EntryEditor::assignIsSensitive(bool isSensitive)
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
    return m_detection ? tr("Looks like ") + m_detection->kindWithArticle() : QString();
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
    assignIsSensitive(detection.isSensitive);
    if (trimmedWhitespace(m_label).isEmpty())
        setLabel(detection.suggestedLabel);
    if (!isEditing() && m_data.binzo(detection.suggestedBinzo))
        m_targetBinzoName = detection.suggestedBinzo;
    m_detection.reset();
    emit detectionChanged();
}

bool EntryEditor::canSave() const
{
    return !trimmedWhitespace(m_label).isEmpty() && !m_value.isEmpty() && !m_loading && !m_saving;
}

QString EntryEditor::statusText() const
{
    if (m_loading)
        return tr("Reading the value\u2026");
    if (!m_saving)
        return {};
    return m_data.secrets().isAnswering()
        ? tr("Saving\u2026")
        : tr("The system keyring does not answer \u2014 retrying\u2026");
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
    QPointer<EntryEditor> self(this);
    if (Entry *entry = m_mode.entry ? m_mode.entry : m_added.data()) {
        setSaving(true);
        // The binzo picked in edit mode; it may have been deleted meanwhile, then the entry
        // stays where it is.
        QPointer<Binzo> chosen(qobject_cast<Binzo *>(m_binzos.value(m_binzoIndex)));
        QPointer<Entry> edited(entry);
        QPointer<Binzo> added(m_mode.entry ? nullptr : m_holder.data());
        DataController *data = &m_data;
        m_data.updateEntry(entry, label, m_value, m_isSensitive,
                           [self, data, edited, chosen, added](const Result<void> &changed) {
                               if (changed && edited && chosen)
                                   data->moveEntry(edited, chosen);
                               if (!self)
                                   return;
                               Binzo *holder = self->m_mode.entry && edited
                                   ? data->binzo(edited->binzoID())
                                   : added.data();
                               self->saved(holder, changed.error());
                           });
        return m_saving || (m_errorText.isEmpty() && !m_waitingForStore);
    }
    Binzo *target = saveTarget();
    if (!target) {
        setErrorText(tr("There is no binzo to add the entry to."));
        return false;
    }
    setSaving(true);
    QPointer<Binzo> holder(target);
    m_data.addEntry(target, label, m_value, m_isSensitive,
                    [self, holder](const Result<Entry *> &added) {
                        if (!self)
                            return;
                        self->m_added = added ? *added : nullptr;
                        self->saved(holder, added.error());
                    });
    return m_saving || (m_errorText.isEmpty() && !m_waitingForStore);
}

void EntryEditor::saved(Binzo *holder, const QString &error)
{
    setSaving(false);
    if (!error.isEmpty()) {
        // The form keeps everything for another try.
        setErrorText(tr("Couldn't store the value: ") + error);
        return;
    }
    m_holder = holder;
    m_waitingForStore = true;
    followStore();
}

// The sheet stays open, saying why, until the store has the change on disk.
void EntryEditor::followStore()
{
    if (!m_waitingForStore)
        return;
    if (m_data.unsavedChangeCount() > 0) {
        setErrorText(tr("Couldn't save: %1 \u2014 retrying\u2026").arg(m_data.saveError()));
        return;
    }
    m_waitingForStore = false;
    setErrorText({});
    emit done(m_holder);
}

void EntryEditor::setLoading(bool loading)
{
    if (loading == m_loading)
        return;
    m_loading = loading;
    emit canSaveChanged();
    emit statusTextChanged();
}

void EntryEditor::setSaving(bool saving)
{
    if (saving == m_saving)
        return;
    m_saving = saving;
    emit canSaveChanged();
    emit statusTextChanged();
}

void EntryEditor::setValueError(const QString &text)
{
    if (text == m_valueError)
        return;
    m_valueError = text;
    emit valueErrorChanged();
}

void EntryEditor::setErrorText(const QString &text)
{
    if (text == m_errorText)
        return;
    m_errorText = text;
    emit errorTextChanged();
}
