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
#include <optional>

class BinzoEditor;
class Clipboard;
class DataController;
class SemanticSearch;
class EntryEditor;
struct PanelCommand;
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
    Q_PROPERTY(QString toastSymbol READ toastSymbol NOTIFY toastChanged)
    Q_PROPERTY(bool canUndo READ canUndo NOTIFY toastChanged)
    Q_PROPERTY(bool showBinzoEditor READ showBinzoEditor NOTIFY showBinzoEditorChanged)
    Q_PROPERTY(bool showEntryEditor READ showEntryEditor NOTIFY showEntryEditorChanged)
    Q_PROPERTY(Entry *editingEntry READ editingEntry NOTIFY editingEntryChanged)
    Q_PROPERTY(Binzo *addTargetBinzo READ addTargetBinzo NOTIFY addTargetBinzoChanged)
    Q_PROPERTY(Binzo *editingBinzo READ editingBinzo NOTIFY editingBinzoChanged)
    Q_PROPERTY(Binzo *currentBinzo READ currentBinzo NOTIFY currentBinzoChanged)
    Q_PROPERTY(bool canCopy READ canCopy NOTIFY canCopyChanged)
    Q_PROPERTY(bool showsClosestOnly READ showsClosestOnly NOTIFY showsClosestOnlyChanged)
    Q_PROPERTY(bool canDeleteBinzo READ canDeleteBinzo NOTIFY binzoCountChanged)
    Q_PROPERTY(Binzo *deletingBinzo READ deletingBinzo NOTIFY deletingBinzoChanged)
    Q_PROPERTY(QString deleteBinzoTitle READ deleteBinzoTitle NOTIFY deletingBinzoChanged)
    Q_PROPERTY(QString deleteBinzoMessage READ deleteBinzoMessage NOTIFY deletingBinzoChanged)
    Q_PROPERTY(bool hasBinzos READ hasBinzos NOTIFY hasBinzosChanged)
    Q_PROPERTY(QString saveNotice READ saveNotice NOTIFY saveNoticeChanged)
    Q_PROPERTY(BinzoListModel *binzos READ binzos CONSTANT)
    Q_PROPERTY(VisibleEntriesModel *visibleEntries READ visibleEntries CONSTANT)
public:
    // Sensitive values come from the store's own secret store.
    QuickAccessViewModel(DataController &store, SemanticSearch &semantic, Clipboard &clipboard,
                         TimerScheduler &timers, QObject *parent = nullptr);
    ~QuickAccessViewModel() override;

    // Hides the panel; set by the panel's controller. Called 0.55 s after a copy and by
    // dismiss().
    std::function<void()> onDismiss;
    // The menu's key equivalents while the panel has the keyboard; unset ones do nothing.
    std::function<void()> onOpenSettings;
    std::function<void()> onQuit;

    QString search() const { return m_search; }
    void setSearch(const QString &search);
    int selectedBinzo() const { return m_selectedBinzo; }
    int selectedEntry() const { return m_selectedEntry; }
    QUuid revealedID() const { return m_revealedID; }
    // Empty while no confirmation is shown.
    QString toast() const { return m_toast; }
    QString toastSymbol() const { return m_toastSymbol; }
    // A deletion can be undone while its confirmation shows.
    bool canUndo() const { return m_deleted.has_value(); }
    bool showBinzoEditor() const { return m_showBinzoEditor; }
    bool showEntryEditor() const { return m_showEntryEditor; }
    Entry *editingEntry() const { return m_editingEntry; }
    Binzo *addTargetBinzo() const { return m_addTargetBinzo; }
    Binzo *editingBinzo() const { return m_editingBinzo; }
    // Null when selectedBinzo lies outside the binzos.
    Binzo *currentBinzo() const;
    bool canCopy() const { return m_visible.rowCount() > 0; }
    // Nothing matched the search: the list holds the closest entries instead.
    bool showsClosestOnly() const { return m_closestOnly; }
    bool canDeleteBinzo() const { return m_binzos->rowCount() > 1; }
    Binzo *deletingBinzo() const { return m_deletingBinzo; }
    QString deleteBinzoTitle() const;
    QString deleteBinzoMessage() const;
    bool hasBinzos() const { return m_binzos->rowCount() > 0; }
    // Empty while every change is on disk; otherwise says how many wait and why, and stays
    // until the store's retries succeed.
    QString saveNotice() const;
    BinzoListModel *binzos() { return m_binzos; }
    VisibleEntriesModel *visibleEntries() { return &m_visible; }

    Q_INVOKABLE void selectBinzo(int index);
    Q_INVOKABLE void copySelected();
    // Copies without moving the selection (the row's context menu).
    Q_INVOKABLE void copyEntry(Entry *entry);
    // The copy once the value is known (read here, or by a command from a script): the
    // clipboard, the use counted, the confirmation and the closing that follows.
    void finishCopy(Entry &entry, const QString &value);
    // A click on a row: select it, then copy it.
    Q_INVOKABLE void rowClicked(int row);
    Q_INVOKABLE void toggleReveal(Entry *entry);
    // Deletes at once and offers Undo for kUndoWindow.
    Q_INVOKABLE void deleteEntry(Entry *entry);
    // Puts the last deleted entry back as it was. False when there is nothing to undo.
    Q_INVOKABLE bool undo();
    Q_INVOKABLE void moveEntry(Entry *entry, Binzo *binzo);
    // The binzos an entry can move to, in tab order.
    Q_INVOKABLE QList<QObject *> moveTargets(Entry *entry) const;
    // step -1 moves a binzo one tab to the left, +1 to the right.
    Q_INVOKABLE bool canMoveBinzo(Binzo *binzo, int step) const;
    Q_INVOKABLE void moveBinzo(Binzo *binzo, int step);
    // Deleting a binzo asks first: deletingBinzo and its texts are set until an answer.
    Q_INVOKABLE void requestDeleteBinzo(Binzo *binzo);
    Q_INVOKABLE void confirmDeleteBinzo();
    Q_INVOKABLE void cancelDeleteBinzo();
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
    // How long a deletion can be undone, and a move's confirmation shows.
    static constexpr std::chrono::milliseconds kUndoWindow {8000};
    static constexpr std::chrono::milliseconds kNoticeDuration {2500};
    // How long a copy waits for its value before saying the keyring does not answer (it
    // still copies when the value comes while the panel is shown).
    static constexpr std::chrono::milliseconds kValueWait {2000};
    // The toast's symbol when it says why nothing was copied.
    static QString failureSymbol() { return QStringLiteral("xmark.circle.fill"); }

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
    void showsClosestOnlyChanged();
    void hasBinzosChanged();
    void binzoCountChanged();
    void deletingBinzoChanged();
    // The selected row's context menu, asked for from the keyboard.
    void contextMenuRequested(int row);
    void saveNoticeChanged();

private:
    // A deleted entry as it was, while Undo is offered. A sensitive entry's value stays in
    // the secret store meanwhile (DataController::deleteEntry), never in memory.
    struct DeletedEntry
    {
        Entry::Fields fields;
    };

    void copy(Entry *entry);
    // Ends the Undo offer: a held secret is removed.
    void endUndo();
    bool run(const PanelCommand &command);
    void moveSelection(int step);
    void cycleBinzo(int step);
    // Shows a confirmation; it goes away after `duration` unless another replaced it.
    void notify(const QString &text, const QString &symbol, std::chrono::milliseconds duration);
    void clearToast();
    void keepSelectionInList();
    // After the order of binzos changed, the same record stays current.
    void keepCurrentBinzo(Binzo *current);

    // State writes that defer recomputing the list to refresh().
    void assignSearch(const QString &search);
    void assignSelectedBinzo(int index);
    void assignSelectedEntry(int row);
    void assignToast(const QString &toast);
    void assignRevealed(const QUuid &id);
    void assignEntryEditor(bool shown);
    void assignBinzoEditor(bool shown);
    void assignEditingEntry(Entry *entry);
    void assignAddTarget(Binzo *binzo);
    void assignEditingBinzo(Binzo *binzo);
    void assignDeletingBinzo(Binzo *binzo);

    void reloadBinzos();
    // Recomputes the visible list when its inputs (search, current binzo, store) changed.
    void refresh();

    DataController &m_store;
    SemanticSearch &m_semantic;
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
    QString m_toastSymbol;
    // Each confirmation's number; a timer clears only the one it was started for.
    quint64 m_toastGeneration = 0;
    quint64 m_shows = 0; // counts resetForShow()
    // Counts copies asked for; a value read for an older one is not copied.
    quint64 m_copyRequest = 0;
    // The copy that met a locked keyring: it happens once the person unlocks it, though the
    // prompt took the focus and so hid the panel.
    QPointer<Entry> m_copyAfterUnlock;
    std::optional<DeletedEntry> m_deleted;
    bool m_closestOnly = false;
    int m_binzoCount = 0;
    QPointer<Binzo> m_deletingBinzo;
    QUuid m_editedFrom; // binzo of the entry being edited, when the sheet opened
    bool m_showBinzoEditor = false;
    bool m_showEntryEditor = false;
    QPointer<Entry> m_editingEntry;
    QPointer<Binzo> m_addTargetBinzo;
    QPointer<Binzo> m_editingBinzo;
    QPointer<Binzo> m_shownBinzo; // currentBinzo as last announced
    bool m_listStale = true;
};
