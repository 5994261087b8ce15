// SPDX-License-Identifier: GPL-3.0-or-later
#include "quick/QuickAccessViewModel.h"

#include "model/TimerScheduler.h"
#include "model/secrets/KeychainStore.h"
#include "model/store/DataController.h"
#include "quick/Clipboard.h"
#include "quick/LocalDetector.h"
#include "quick/PanelKeys.h"
#include "quick/Search.h"
#include "smartfind/SemanticSearch.h"
#include "views/BinzoEditor.h"
#include "views/EntryEditor.h"

#include <algorithm>
#include <optional>

namespace {

const QString kCopiedSymbol = QStringLiteral("checkmark.circle.fill");
const QString kDeletedSymbol = QStringLiteral("trash.fill");
const QString kMovedSymbol = QStringLiteral("arrow.right.circle.fill");

QString quoted(const QString &text)
{
    return u'\u201C' + text + u'\u201D';
}

} // namespace

QuickAccessViewModel::QuickAccessViewModel(DataController &store, SemanticSearch &semantic,
                                           Clipboard &clipboard, TimerScheduler &timers,
                                           QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_semantic(semantic)
    , m_clipboard(clipboard)
    , m_timers(timers)
    , m_binzos(store.binzoModel())
    , m_hadBinzos(hasBinzos())
    , m_previews(store.secrets())
{
    m_visible.setPreviews(&m_previews);
    connect(&store.secrets(), &KeychainStore::unlocked, this, [this] {
        if (Entry *entry = m_copyAfterUnlock.data())
            copy(entry);
    });
    // A prompt that ends without unlocking drops the waiting copy; unlocked() follows the end
    // of a successful one within the same delivery, so the drop waits for the event loop.
    connect(&store.secrets(), &KeychainStore::unlockingChanged, this, [this] {
        if (!m_store.secrets().isUnlocking())
            QMetaObject::invokeMethod(
                this, [this] { m_copyAfterUnlock = nullptr; }, Qt::QueuedConnection);
    });
    connect(&store, &DataController::binzosChanged, this, [this] {
        reloadBinzos();
        refresh();
    });
    // Labels are embedded off the interface thread as the store loads and changes, so even
    // the first keystroke only compares vectors.
    connect(&store, &DataController::entriesChanged, this, [this] {
        m_semantic.prepare(m_store.entries());
        m_listStale = true;
        refresh();
    });
    connect(&store, &DataController::saveStateChanged, this,
            &QuickAccessViewModel::saveNoticeChanged);
    // A binzo's colour tints the rows of its entries.
    connect(m_binzos, &BinzoListModel::dataChanged, this, [this] {
        m_listStale = true;
        refresh();
    });
    m_semantic.prepare(store.entries());
    reloadBinzos();
    refresh();
}

QuickAccessViewModel::~QuickAccessViewModel() = default;

Binzo *QuickAccessViewModel::currentBinzo() const
{
    return m_binzos->binzoAt(m_selectedBinzo);
}

QString QuickAccessViewModel::saveNotice() const
{
    const int count = m_store.unsavedChangeCount();
    if (count == 0)
        return {};
    const QString changes = count == 1 ? tr("1 change") : tr("%1 changes").arg(count);
    return tr("Couldn't save %1: %2 \u2014 retrying\u2026").arg(changes, m_store.saveError());
}

void QuickAccessViewModel::setSearch(const QString &search)
{
    if (search == m_search)
        return;
    assignSearch(search);
    assignSelectedEntry(0);
    refresh();
}

void QuickAccessViewModel::selectBinzo(int index)
{
    if (index < 0 || index >= m_binzos->rowCount())
        return;
    assignSelectedBinzo(index);
    assignSelectedEntry(0);
    assignSearch(QString());
    refresh();
}

void QuickAccessViewModel::copySelected()
{
    copy(m_visible.entryAt(m_selectedEntry));
}

void QuickAccessViewModel::copyEntry(Entry *entry)
{
    copy(entry);
}

void QuickAccessViewModel::rowClicked(int row)
{
    if (row < 0)
        return;
    assignSelectedEntry(row);
    copySelected();
}

void QuickAccessViewModel::toggleReveal(Entry *entry)
{
    if (!entry)
        return;
    assignRevealed(entry->id() == m_revealedID ? QUuid() : entry->id());
}

void QuickAccessViewModel::deleteEntry(Entry *entry)
{
    if (!entry)
        return;
    DeletedEntry deleted {entry->fields()};
    const QString label = entry->label();
    m_store.deleteEntry(entry, true);
    keepSelectionInList();
    notify(tr("Deleted %1").arg(quoted(label)), kDeletedSymbol, kUndoWindow);
    m_deleted = std::move(deleted);
    emit toastChanged();
}

bool QuickAccessViewModel::undo()
{
    if (!m_deleted)
        return false;
    Entry *restored = m_store.restoreEntry(m_deleted->fields);
    if (!restored) {
        // Offered again while the confirmation shows.
        DeletedEntry kept = std::move(*m_deleted);
        m_deleted.reset();
        notify(tr("Couldn't restore %1").arg(quoted(kept.fields.label)), kDeletedSymbol,
               kUndoWindow);
        m_deleted = std::move(kept);
        emit toastChanged();
        return true;
    }
    clearToast();
    m_listStale = true;
    refresh();
    const int row = int(m_visible.entries().indexOf(restored));
    if (row >= 0)
        assignSelectedEntry(row);
    return true;
}

void QuickAccessViewModel::moveEntry(Entry *entry, Binzo *binzo)
{
    if (!entry || !binzo || entry->binzoID() == binzo->id())
        return;
    const QString label = entry->label();
    if (!m_store.moveEntry(entry, binzo))
        return;
    keepSelectionInList();
    notify(tr("Moved %1 to %2").arg(quoted(label), quoted(binzo->name())), kMovedSymbol,
           kNoticeDuration);
}

QList<QObject *> QuickAccessViewModel::moveTargets(Entry *entry) const
{
    QList<QObject *> targets;
    for (Binzo *binzo : m_store.binzos()) {
        if (entry && binzo->id() != entry->binzoID())
            targets.append(binzo);
    }
    return targets;
}

bool QuickAccessViewModel::canMoveBinzo(Binzo *binzo, int step) const
{
    const int from = int(m_store.binzos().indexOf(binzo));
    return from >= 0 && from + step >= 0 && from + step < m_binzos->rowCount();
}

void QuickAccessViewModel::moveBinzo(Binzo *binzo, int step)
{
    if (!canMoveBinzo(binzo, step))
        return;
    Binzo *current = currentBinzo();
    m_store.moveBinzo(binzo, int(m_store.binzos().indexOf(binzo)) + step);
    keepCurrentBinzo(current);
}

QString QuickAccessViewModel::deleteBinzoTitle() const
{
    return m_deletingBinzo ? tr("Delete %1?").arg(quoted(m_deletingBinzo->name())) : QString();
}

QString QuickAccessViewModel::deleteBinzoMessage() const
{
    if (!m_deletingBinzo)
        return {};
    int count = 0;
    bool secrets = false;
    for (const Entry *entry : m_store.entries()) {
        if (entry->binzoID() == m_deletingBinzo->id()) {
            ++count;
            secrets = secrets || entry->isSensitive();
        }
    }
    const QString entries = count == 0 ? tr("It holds no entries.")
        : count == 1                   ? tr("Its one entry is deleted with it.")
                                       : tr("Its %1 entries are deleted with it.").arg(count);
    return entries
        + (secrets ? tr(" Secret values are removed from the system keyring too.") : QString())
        + tr(" This can't be undone.");
}

void QuickAccessViewModel::requestDeleteBinzo(Binzo *binzo)
{
    if (binzo && canDeleteBinzo())
        assignDeletingBinzo(binzo);
}

void QuickAccessViewModel::confirmDeleteBinzo()
{
    Binzo *binzo = m_deletingBinzo;
    assignDeletingBinzo(nullptr);
    if (!binzo)
        return;
    Binzo *current = currentBinzo();
    const int position = m_selectedBinzo;
    // An entry of that binzo cannot come back once the binzo is gone.
    if (m_deleted && m_deleted->fields.binzoID == binzo->id())
        clearToast();
    if (!m_store.deleteBinzo(binzo))
        return;
    if (current == binzo)
        selectBinzo(std::min(position, m_binzos->rowCount() - 1));
    else
        keepCurrentBinzo(current);
}

void QuickAccessViewModel::cancelDeleteBinzo()
{
    assignDeletingBinzo(nullptr);
}

void QuickAccessViewModel::startNewEntry()
{
    Binzo *binzo = currentBinzo();
    if (!binzo)
        return;
    assignEditingEntry(nullptr);
    assignAddTarget(binzo);
    assignEntryEditor(true);
}

void QuickAccessViewModel::startEdit(Entry *entry)
{
    if (!entry)
        return;
    m_editedFrom = entry->binzoID();
    assignEditingEntry(entry);
    assignEntryEditor(true);
}

void QuickAccessViewModel::startNewBinzo()
{
    assignEditingBinzo(nullptr);
    assignBinzoEditor(true);
}

void QuickAccessViewModel::startEditBinzo(Binzo *binzo)
{
    if (!binzo)
        return;
    assignEditingBinzo(binzo);
    assignBinzoEditor(true);
}

void QuickAccessViewModel::resetForShow()
{
    ++m_shows;
    ++m_copyRequest;
    m_previews.refresh();
    assignSearch(QString());
    assignSelectedEntry(0);
    assignRevealed(QUuid());
    if (m_selectedBinzo >= m_binzos->rowCount())
        assignSelectedBinzo(0);
    refresh();
}

bool QuickAccessViewModel::handleKey(int qtKey, int qtModifiers, const QString &text,
                                     quint32 nativeScanCode)
{
    return run(PanelKeys::command(qtKey, Qt::KeyboardModifiers(qtModifiers), text, nativeScanCode,
                                  m_search.isEmpty()));
}

bool QuickAccessViewModel::run(const PanelCommand &command)
{
    using Kind = PanelCommand::Kind;
    Entry *selected = m_visible.entryAt(m_selectedEntry);
    switch (command.kind) {
    case Kind::None:
        return false;
    case Kind::NewEntry:
        startNewEntry();
        break;
    case Kind::SelectBinzo:
        selectBinzo(command.binzoIndex);
        break;
    case Kind::CopySelected:
        copySelected();
        break;
    case Kind::SelectionDown:
        moveSelection(+1);
        break;
    case Kind::SelectionUp:
        moveSelection(-1);
        break;
    case Kind::NextBinzo:
        cycleBinzo(+1);
        break;
    case Kind::PreviousBinzo:
        cycleBinzo(-1);
        break;
    case Kind::DeleteSelected:
        deleteEntry(selected);
        break;
    case Kind::EditSelected:
        startEdit(selected);
        break;
    case Kind::RevealSelected:
        if (selected && selected->isSensitive())
            toggleReveal(selected);
        break;
    case Kind::MenuOfSelected:
        if (selected)
            emit contextMenuRequested(m_selectedEntry);
        break;
    case Kind::MoveBinzoLeft:
        moveBinzo(currentBinzo(), -1);
        break;
    case Kind::MoveBinzoRight:
        moveBinzo(currentBinzo(), +1);
        break;
    case Kind::Undo:
        // Nothing to undo: the search field's own undo.
        return undo();
    case Kind::OpenPanel:
        break;
    case Kind::OpenSettings:
        if (onOpenSettings)
            onOpenSettings();
        break;
    case Kind::Quit:
        if (onQuit)
            onQuit();
        break;
    }
    return true;
}

void QuickAccessViewModel::dismiss()
{
    if (onDismiss)
        onDismiss();
}

void QuickAccessViewModel::binzoEditorDone()
{
    // Editing keeps the current tab; a new binzo is appended, so the last tab shows it.
    if (!m_editingBinzo)
        assignSelectedBinzo(std::max(m_binzos->rowCount() - 1, 0));
    assignEditingBinzo(nullptr);
    assignBinzoEditor(false);
    refresh();
}

void QuickAccessViewModel::binzoEditorCancelled()
{
    assignBinzoEditor(false);
}

void QuickAccessViewModel::entryEditorDone(Binzo *reported)
{
    if (Entry *edited = m_editingEntry) {
        if (reported && edited->binzoID() != m_editedFrom)
            notify(tr("Moved %1 to %2").arg(quoted(edited->label()), quoted(reported->name())),
                   kMovedSymbol, kNoticeDuration);
        assignEditingEntry(nullptr);
    } else {
        const int position = reported ? int(m_store.binzos().indexOf(reported)) : -1;
        if (position >= 0) {
            assignSearch(QString());
            assignSelectedBinzo(position);
            assignSelectedEntry(0);
        }
        assignAddTarget(nullptr);
    }
    assignEntryEditor(false);
    refresh();
}

void QuickAccessViewModel::entryEditorCancelled()
{
    assignEntryEditor(false);
}

void QuickAccessViewModel::copy(Entry *entry)
{
    if (!entry)
        return;
    const quint64 request = ++m_copyRequest;
    m_copyAfterUnlock = nullptr;
    if (!entry->isSensitive()) {
        if (const std::optional<QString> value = entry->inlineValue())
            finishCopy(*entry, *value);
        return;
    }
    if (m_store.secrets().isUnlocking()) {
        m_copyAfterUnlock = entry;
        notify(SecretPreviews::lockedText(), failureSymbol(), kNoticeDuration);
        return;
    }
    // The value comes from the secret store's thread; the copy happens when it arrives,
    // unless another copy or the panel's hiding came first.
    QPointer<Entry> target(entry);
    m_store.secrets().read(
        entry->id(), KeychainStore::Purpose::Use, this,
        [this, request, target](const SecretResult &result) {
            if (request != m_copyRequest || !target)
                return;
            ++m_copyRequest;
            switch (result.status) {
            case SecretResult::Status::Done:
                finishCopy(*target, QString::fromUtf8(result.value));
                break;
            case SecretResult::Status::Missing:
                break; // nothing to copy, nothing to say
            case SecretResult::Status::Locked:
                m_copyAfterUnlock = target;
                m_store.secrets().unlock();
                notify(SecretPreviews::lockedText(), failureSymbol(), kNoticeDuration);
                break;
            case SecretResult::Status::Unknown:
                notify(SecretPreviews::notAnsweringText(), failureSymbol(), kNoticeDuration);
                break;
            case SecretResult::Status::Failed:
                notify(tr("Couldn't read the value: ") + result.error, failureSymbol(),
                       kNoticeDuration);
                break;
            }
        });
    m_timers.schedule(kValueWait, [self = QPointer<QuickAccessViewModel>(this), request] {
        if (!self || request != self->m_copyRequest)
            return;
        self->notify(self->m_store.secrets().isUnlocking() ? SecretPreviews::lockedText()
                                                           : SecretPreviews::notAnsweringText(),
                     failureSymbol(), kNoticeDuration);
    });
}

void QuickAccessViewModel::finishCopy(Entry &entry, const QString &value)
{
    const QString label = entry.label();
    m_clipboard.setText(value, entry.isSensitive());
    m_store.markUsed(&entry);
    endUndo();
    ++m_toastGeneration;
    m_toastSymbol = kCopiedSymbol;
    assignToast(QStringLiteral("Copied ") + label);
    // Every copy's closing clears whatever confirmation shows by then. It closes the panel
    // the copy was made in, not one opened since: a script's copy must not close the panel
    // the user opens half a second later.
    m_timers.schedule(kDismissDelay,
                      [self = QPointer<QuickAccessViewModel>(this), shows = m_shows] {
                          if (!self)
                              return;
                          if (self->m_shows == shows)
                              self->dismiss();
                          self->clearToast();
                      });
}

void QuickAccessViewModel::notify(const QString &text, const QString &symbol,
                                  std::chrono::milliseconds duration)
{
    endUndo();
    const quint64 generation = ++m_toastGeneration;
    m_toastSymbol = symbol;
    m_toast.clear(); // a repeated text still announces itself
    assignToast(text);
    m_timers.schedule(duration, [self = QPointer<QuickAccessViewModel>(this), generation] {
        if (self && self->m_toastGeneration == generation)
            self->clearToast();
    });
}

void QuickAccessViewModel::clearToast()
{
    const bool hadUndo = m_deleted.has_value();
    endUndo();
    if (!m_toast.isEmpty())
        assignToast(QString());
    else if (hadUndo)
        emit toastChanged();
}

void QuickAccessViewModel::endUndo()
{
    if (m_deleted)
        m_store.forgetDeleted(m_deleted->fields.id);
    m_deleted.reset();
}

void QuickAccessViewModel::panelHidden()
{
    ++m_copyRequest;
    assignRevealed(QUuid());
}

void QuickAccessViewModel::keepSelectionInList()
{
    // Never keep a deleted or moved record in the list, whatever the store announced.
    m_listStale = true;
    refresh();
    const int count = m_visible.rowCount();
    if (m_selectedEntry >= count)
        assignSelectedEntry(std::max(count - 1, 0));
}

void QuickAccessViewModel::keepCurrentBinzo(Binzo *current)
{
    const int position = int(m_store.binzos().indexOf(current));
    if (position >= 0)
        assignSelectedBinzo(position);
    refresh();
}

void QuickAccessViewModel::moveSelection(int step)
{
    const int count = m_visible.rowCount();
    if (count < 1)
        return;
    // Clamped on both sides: a selection left beyond the end by a deletion elsewhere comes
    // back into the list with either arrow.
    assignSelectedEntry(std::clamp(m_selectedEntry + step, 0, count - 1));
}

void QuickAccessViewModel::cycleBinzo(int step)
{
    const int count = m_binzos->rowCount();
    selectBinzo((m_selectedBinzo + step + count) % std::max(count, 1));
}

void QuickAccessViewModel::assignSearch(const QString &search)
{
    if (search == m_search)
        return;
    m_search = search;
    m_listStale = true;
    emit searchChanged();
}

void QuickAccessViewModel::assignSelectedBinzo(int index)
{
    if (index == m_selectedBinzo)
        return;
    m_selectedBinzo = index;
    m_listStale = true;
    emit selectedBinzoChanged();
}

void QuickAccessViewModel::assignSelectedEntry(int row)
{
    row = std::max(row, 0);
    if (row == m_selectedEntry)
        return;
    m_selectedEntry = row;
    m_visible.setSelectedRow(row);
    emit selectedEntryChanged();
}

void QuickAccessViewModel::assignToast(const QString &toast)
{
    if (toast == m_toast)
        return;
    m_toast = toast;
    emit toastChanged();
}

void QuickAccessViewModel::assignRevealed(const QUuid &id)
{
    if (id == m_revealedID)
        return;
    m_revealedID = id;
    m_previews.setRevealed(id);
    m_visible.setRevealedId(id);
    emit revealedIDChanged();
}

void QuickAccessViewModel::assignEntryEditor(bool shown)
{
    if (shown == m_showEntryEditor)
        return;
    m_showEntryEditor = shown;
    emit showEntryEditorChanged();
}

void QuickAccessViewModel::assignBinzoEditor(bool shown)
{
    if (shown == m_showBinzoEditor)
        return;
    m_showBinzoEditor = shown;
    emit showBinzoEditorChanged();
}

void QuickAccessViewModel::assignEditingEntry(Entry *entry)
{
    if (entry == m_editingEntry)
        return;
    m_editingEntry = entry;
    emit editingEntryChanged();
}

void QuickAccessViewModel::assignAddTarget(Binzo *binzo)
{
    if (binzo == m_addTargetBinzo)
        return;
    m_addTargetBinzo = binzo;
    emit addTargetBinzoChanged();
}

void QuickAccessViewModel::assignEditingBinzo(Binzo *binzo)
{
    if (binzo == m_editingBinzo)
        return;
    m_editingBinzo = binzo;
    emit editingBinzoChanged();
}

void QuickAccessViewModel::assignDeletingBinzo(Binzo *binzo)
{
    if (binzo == m_deletingBinzo)
        return;
    m_deletingBinzo = binzo;
    emit deletingBinzoChanged();
}

void QuickAccessViewModel::reloadBinzos()
{
    m_listStale = true;
    if (m_hadBinzos != hasBinzos()) {
        m_hadBinzos = hasBinzos();
        emit hasBinzosChanged();
    }
    if (m_binzoCount != m_binzos->rowCount()) {
        m_binzoCount = m_binzos->rowCount();
        emit binzoCountChanged();
    }
}

void QuickAccessViewModel::refresh()
{
    Binzo *current = currentBinzo();
    if (current != m_shownBinzo) {
        m_shownBinzo = current;
        emit currentBinzoChanged();
    }
    if (!m_listStale)
        return;
    m_listStale = false;
    QHash<QUuid, QString> accents;
    for (Binzo *binzo : m_store.binzos()) {
        if (!accents.contains(binzo->id()))
            accents.insert(binzo->id(), binzo->colorHex());
    }
    const bool couldCopy = canCopy();
    const bool wasClosestOnly = m_closestOnly;
    m_visible.setEntries(
        Search::visibleEntries(m_semantic, m_search, current, m_store.entries(), &m_closestOnly),
        accents);
    if (couldCopy != canCopy())
        emit canCopyChanged();
    if (wasClosestOnly != m_closestOnly)
        emit showsClosestOnlyChanged();
}

EntryEditor *QuickAccessViewModel::entryEditor(Binzo *target, Entry *entry, QObject *owner)
{
    const auto mode = entry ? EntryEditor::Mode::edit(entry) : EntryEditor::Mode::create(target);
    return new EntryEditor(mode, m_store, &LocalDetector::detect, owner);
}

BinzoEditor *QuickAccessViewModel::binzoEditor(Binzo *editing, QObject *owner)
{
    return new BinzoEditor(editing, m_store, owner);
}
