// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/Detection.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <optional>

class Binzo;
class DataController;
class Entry;

// The form behind the entry sheet: creates an entry in a binzo or edits one, offers the paste
// detector's suggestion, and saves through the data controller. The sheet only binds to it.
class EntryEditor : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the view model's entryEditor()")
    Q_MOC_INCLUDE("model/records/Binzo.h")
    Q_PROPERTY(bool isEditing READ isEditing CONSTANT)
    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(QString saveTitle READ saveTitle CONSTANT)
    Q_PROPERTY(QString label READ label WRITE setLabel NOTIFY labelChanged)
    Q_PROPERTY(QString value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(bool isSensitive READ isSensitive WRITE setIsSensitive NOTIFY isSensitiveChanged)
    Q_PROPERTY(bool hasSuggestion READ hasSuggestion NOTIFY detectionChanged)
    Q_PROPERTY(QString suggestionTitle READ suggestionTitle NOTIFY detectionChanged)
    Q_PROPERTY(QString suggestionSubtitle READ suggestionSubtitle NOTIFY detectionChanged)
    Q_PROPERTY(bool canSave READ canSave NOTIFY canSaveChanged)
    Q_PROPERTY(QString errorText READ errorText NOTIFY errorTextChanged)
    Q_PROPERTY(QString valueError READ valueError NOTIFY valueErrorChanged)
    Q_PROPERTY(QString statusText READ statusText NOTIFY statusTextChanged)
    Q_PROPERTY(QList<QObject *> binzos READ binzos CONSTANT)
    Q_PROPERTY(int binzoIndex READ binzoIndex WRITE setBinzoIndex NOTIFY binzoIndexChanged)
public:
    // Values are short texts for the clipboard, a keyring item or a row; a longer one is
    // refused as it is typed or pasted, before the field, the detector or the store sees it.
    // Measured here, the value field lays out an unbroken 16 KiB text in about 25 ms and
    // 64 KiB in about 270 ms, then as much again on every keystroke (1 MiB: 106 s).
    static constexpr qsizetype kMaxValueLength = 16 * 1024;

    // Create an entry in the host's target binzo, or edit an existing entry.
    struct Mode
    {
        Binzo *target = nullptr;
        Entry *entry = nullptr;

        static Mode create(Binzo *target) { return {target, nullptr}; }
        static Mode edit(Entry *entry) { return {nullptr, entry}; }
        bool isEdit() const { return entry != nullptr; }
    };
    using Detector = std::function<std::optional<Detection>(const QString &)>;

    EntryEditor(Mode mode, DataController &data, Detector detector, QObject *parent = nullptr);

    bool isEditing() const { return m_mode.isEdit(); }
    QString title() const;
    QString saveTitle() const;
    QString label() const { return m_label; }
    QString value() const { return m_value; }
    bool isSensitive() const { return m_isSensitive; }
    std::optional<Detection> detection() const { return m_detection; }
    std::optional<QString> targetBinzoName() const { return m_targetBinzoName; }
    bool hasSuggestion() const { return m_detection.has_value(); }
    QString suggestionTitle() const;
    QString suggestionSubtitle() const;
    // Also false while an edited secret is still being read, and while a save is on its way.
    bool canSave() const;
    QString errorText() const { return m_errorText; }
    // Why the last change of the value was refused; empty after an accepted one.
    QString valueError() const { return m_valueError; }
    // What the form is waiting for: the edited secret, or the secret store during a save.
    QString statusText() const;
    bool isLoading() const { return m_loading; }
    bool isSaving() const { return m_saving; }
    // Edit mode: the binzos in tab order and the one the entry is to be filed under.
    QList<QObject *> binzos() const { return m_binzos; }
    int binzoIndex() const { return m_binzoIndex; }
    void setBinzoIndex(int index);

    void setLabel(const QString &label);
    // Every change of the value replaces the suggestion with the detector's verdict, and a
    // verdict of sensitive turns the switch on unless the user has set it in this form. A value
    // over kMaxValueLength is refused: the value stays, valueChanged is emitted so the field
    // shows it again, and valueError says why.
    void setValue(const QString &value);
    // Whether inserting `insertedLength` characters over `replacedLength` selected ones keeps
    // the value within kMaxValueLength. When not, valueError says so and the insertion must
    // not happen: the field never has to lay out a text it will refuse.
    Q_INVOKABLE bool admitsInsertion(int insertedLength, int replacedLength);
    // The same for a paste of the clipboard, or with `selection` of the X11 selection (middle
    // click).
    Q_INVOKABLE bool admitsPaste(int replacedLength, bool selection = false);
    // The user's own setting of the switch.
    void setIsSensitive(bool isSensitive);

    // Takes the suggestion: sensitivity, an empty label, and (new entries only) its binzo.
    Q_INVOKABLE void apply();
    // Stores the entry and emits done with the binzo that holds it once the entry is on disk,
    // a sensitive value first going to the secret store (which may take a while: statusText
    // says so). False, with errorText set and every field kept, when the form is incomplete
    // or the record store could not save yet: the store then retries on its own and done
    // follows its first success; a refusal of the secret store sets errorText later. Saving
    // again meanwhile updates the same entry rather than adding another.
    Q_INVOKABLE bool save();

signals:
    void labelChanged();
    void valueChanged();
    void isSensitiveChanged();
    void detectionChanged();
    void canSaveChanged();
    void errorTextChanged();
    void valueErrorChanged();
    void statusTextChanged();
    void binzoIndexChanged();
    // Once the entry is on disk; the binzo is null when an edited entry's binzo is gone.
    void done(Binzo *binzo);

private:
    bool offersBinzo() const;
    void setErrorText(const QString &text);
    void setValueError(const QString &text);
    bool refuseIfTooLong(qsizetype length);
    void assignIsSensitive(bool isSensitive);
    Binzo *saveTarget() const;
    // Reads the edited secret into the value field.
    void loadValue();
    void setLoading(bool loading);
    void setSaving(bool saving);
    void saved(Binzo *holder, const QString &error);
    void followStore();

    Mode m_mode;
    DataController &m_data;
    Detector m_detector;
    QString m_label;
    QString m_value;
    bool m_isSensitive = false;
    bool m_userSetSensitivity = false;
    std::optional<Detection> m_detection;
    std::optional<QString> m_targetBinzoName;
    QString m_errorText;
    QString m_valueError;
    bool m_loading = false;
    bool m_saving = false;
    QList<QObject *> m_binzos;
    int m_binzoIndex = -1;
    // The entry this form has added, and the binzo to report once it is on disk.
    QPointer<Entry> m_added;
    QPointer<Binzo> m_holder;
    bool m_waitingForStore = false;
};
