// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/records/Binzo.h"
#include "model/records/BinzoListModel.h"
#include "model/records/Entry.h"
#include "quick/SecretPreviews.h"
#include "quick/VisibleEntriesModel.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUuid>

#include <chrono>
#include <functional>

class BinzoEditor;
class Clipboard;
class DataController;
class EntryEditor;
class TimerScheduler;

// State and actions of the quick-access panel: search, current binzo, selection, reveal,
// copy with its confirmation, delete, and which editor sheet is open. The QML view only
// shows these properties and calls these operations.
class QuickAccessViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString search READ search WRITE setSearch NOTIFY searchChanged)
    Q_PROPERTY(int selectedBinzo READ selectedBinzo NOTIFY selectedBinzoChanged)
    Q_PROPERTY(int selectedEntry READ selectedEntry NOTIFY selectedEntryChanged)
    Q_PROPERTY(QUuid revealedID READ revealedID NOTIFY revealedIDChanged)
    Q_PROPERTY(QString toast READ toast NOTIFY toastChanged)
    Q_PROPERTY(bool toastIsFailure READ toastIsFailure NOTIFY toastChanged)
    Q_PROPERTY(bool showBinzoEditor READ showBinzoEditor NOTIFY showBinzoEditorChanged)
    Q_PROPERTY(bool showEntryEditor READ showEntryEditor NOTIFY showEntryEditorChanged)
    Q_PROPERTY(Entry *editingEntry READ editingEntry NOTIFY editingEntryChanged)
    Q_PROPERTY(Binzo *addTargetBinzo READ addTargetBinzo NOTIFY addTargetBinzoChanged)
    Q_PROPERTY(Binzo *editingBinzo READ editingBinzo NOTIFY editingBinzoChanged)
    Q_PROPERTY(Binzo *currentBinzo READ currentBinzo NOTIFY currentBinzoChanged)
    Q_PROPERTY(bool canCopy READ canCopy NOTIFY canCopyChanged)
    Q_PROPERTY(bool hasBinzos READ hasBinzos NOTIFY hasBinzosChanged)
    Q_PROPERTY(BinzoListModel *binzos READ binzos CONSTANT)
    Q_PROPERTY(VisibleEntriesModel *visibleEntries READ visibleEntries CONSTANT)
public:
    QuickAccessViewModel(DataController &store, Clipboard &clipboard, TimerScheduler &timers,
                         QObject *parent = nullptr);
    ~QuickAccessViewModel() override;

    // Hides the panel; set by the panel's controller. Called 0.55 s after a copy and by
    // dismiss().
    std::function<void()> onDismiss;

    QString search() const { return m_search; }
    void setSearch(const QString &search);
    int selectedBinzo() const { return m_selectedBinzo; }
    int selectedEntry() const { return m_selectedEntry; }
    QUuid revealedID() const { return m_revealedID; }
    // Empty while no confirmation is shown.
    QString toast() const { return m_toast; }
    // The toast says why nothing was copied (the panel stays).
    bool toastIsFailure() const { return m_toastIsFailure; }
    bool showBinzoEditor() const { return m_showBinzoEditor; }
    bool showEntryEditor() const { return m_showEntryEditor; }
    Entry *editingEntry() const { return m_editingEntry; }
    Binzo *addTargetBinzo() const { return m_addTargetBinzo; }
    Binzo *editingBinzo() const { return m_editingBinzo; }
    // Null when selectedBinzo lies outside the binzos.
    Binzo *currentBinzo() const;
    bool canCopy() const { return m_visible.rowCount() > 0; }
    bool hasBinzos() const { return m_binzos->rowCount() > 0; }
    BinzoListModel *binzos() { return m_binzos; }
    VisibleEntriesModel *visibleEntries() { return &m_visible; }

    Q_INVOKABLE void selectBinzo(int index);
    Q_INVOKABLE void copySelected();
    // Copies without moving the selection (the row's context menu).
    Q_INVOKABLE void copyEntry(Entry *entry);
    // A click on a row: select it, then copy it.
    Q_INVOKABLE void rowClicked(int row);
    Q_INVOKABLE void toggleReveal(Entry *entry);
    Q_INVOKABLE void deleteEntry(Entry *entry);
    Q_INVOKABLE void startNewEntry();
    Q_INVOKABLE void startEdit(Entry *entry);
    Q_INVOKABLE void startNewBinzo();
    Q_INVOKABLE void startEditBinzo(Binzo *binzo);
    // Each showing of the panel: empty search, first row, everything masked again.
    Q_INVOKABLE void resetForShow();
    // The panel went away: a copy still waiting for its value is dropped, and the revealed
    // value forgotten.
    void panelHidden();
    // A key press reaching the panel, with Qt's key code and modifiers (Ctrl plays the
    // role of Command). True when the key was used and must go no further.
    Q_INVOKABLE bool handleKey(int qtKey, int qtModifiers, const QString &text,
                               quint32 nativeScanCode = 0);
    Q_INVOKABLE void dismiss();

    // Sheet callbacks.
    // The forms the editor sheets bind to, built on this view model's store; each belongs to
    // the sheet (owner) that asked for it. Edits the entry or binzo when given one, otherwise
    // creates one (an entry in the target binzo).
    Q_INVOKABLE EntryEditor *entryEditor(Binzo *target, Entry *entry, QObject *owner);
    Q_INVOKABLE BinzoEditor *binzoEditor(Binzo *editing, QObject *owner);
    Q_INVOKABLE void binzoEditorDone();
    Q_INVOKABLE void binzoEditorCancelled();
    // `reported` is the binzo a new entry went into (null when unknown or when editing).
    Q_INVOKABLE void entryEditorDone(Binzo *reported);
    Q_INVOKABLE void entryEditorCancelled();

    // How long the confirmation stays before the panel hides.
    static constexpr std::chrono::milliseconds kDismissDelay {550};
    // How long a copy waits for its value before saying the keyring does not answer (it
    // still copies when the value comes while the panel is shown).
    static constexpr std::chrono::milliseconds kValueWait {2000};
    // How long a failure stays in the toast.
    static constexpr std::chrono::milliseconds kFailureShown {2500};

signals:
    void searchChanged();
    void selectedBinzoChanged();
    void selectedEntryChanged();
    void revealedIDChanged();
    void toastChanged();
    void showBinzoEditorChanged();
    void showEntryEditorChanged();
    void editingEntryChanged();
    void addTargetBinzoChanged();
    void editingBinzoChanged();
    void currentBinzoChanged();
    void canCopyChanged();
    void hasBinzosChanged();

private:
    void copy(Entry *entry);
    void finishCopy(Entry &entry, const QString &value);
    void showFailure(const QString &text);
    void moveSelection(int step);
    void cycleBinzo(int step);

    // State writes that defer recomputing the list to refresh().
    void assignSearch(const QString &search);
    void assignSelectedBinzo(int index);
    void assignSelectedEntry(int row);
    void assignToast(const QString &toast, bool isFailure = false);
    void assignRevealed(const QUuid &id);
    void assignEntryEditor(bool shown);
    void assignBinzoEditor(bool shown);
    void assignEditingEntry(Entry *entry);
    void assignAddTarget(Binzo *binzo);
    void assignEditingBinzo(Binzo *binzo);

    void reloadBinzos();
    // Recomputes the visible list when its inputs (search, current binzo, store) changed.
    void refresh();

    DataController &m_store;
    Clipboard &m_clipboard;
    TimerScheduler &m_timers;
    // The store's live tab-order model; it updates before this view model hears of a change.
    BinzoListModel *m_binzos;
    bool m_hadBinzos = false;
    SecretPreviews m_previews;
    VisibleEntriesModel m_visible;

    QString m_search;
    int m_selectedBinzo = 0;
    int m_selectedEntry = 0;
    QUuid m_revealedID;
    QString m_toast;
    bool m_toastIsFailure = false;
    // Counts copies asked for; a value read for an older one is not copied.
    quint64 m_copyRequest = 0;
    bool m_showBinzoEditor = false;
    bool m_showEntryEditor = false;
    QPointer<Entry> m_editingEntry;
    QPointer<Binzo> m_addTargetBinzo;
    QPointer<Binzo> m_editingBinzo;
    QPointer<Binzo> m_shownBinzo; // currentBinzo as last announced
    bool m_listStale = true;
};
