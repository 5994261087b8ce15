// SPDX-License-Identifier: GPL-3.0-or-later
#include "quick/QuickAccessViewModel.h"

#include "hotkeys/Key.h"
#include "hotkeys/KeyCodeTable.h"
#include "model/secrets/KeychainStore.h"
#include "model/store/DataController.h"
#include "quick/Clipboard.h"
#include "quick/LocalDetector.h"
#include "quick/Search.h"
#include "quick/TimerScheduler.h"
#include "views/BinzoEditor.h"
#include "views/EntryEditor.h"

#include <algorithm>
#include <optional>

namespace {

// The characters of a key press without Ctrl's effect: Qt reports Ctrl+N with the control
// character as text, but its key code is still the letter.
QString keyCharacters(int qtKey, const QString &text)
{
    if (!text.isEmpty() && text.at(0).isPrint())
        return text;
    if (qtKey >= Qt::Key_Space && qtKey < Qt::Key_Escape) {
        const char32_t character = char32_t(qtKey);
        return QString::fromUcs4(&character, 1);
    }
    return {};
}

// 1…9 for the number-row key at this X11 keycode, else 0. Layouts such as AZERTY type symbols
// on that row unless Shift is held, and Ctrl with the key marked 1 should still pick binzo 1.
int numberRowDigit(quint32 nativeScanCode)
{
    using Hotkeys::Key;
    static constexpr Key digits[] = {Key::one, Key::two,   Key::three, Key::four, Key::five,
                                     Key::six, Key::seven, Key::eight, Key::nine};
    const std::optional<qint64> code = Hotkeys::KeyCodeTable::keyCode(nativeScanCode);
    for (int i = 0; code && i < 9; ++i) {
        if (digits[i].rawValue == *code)
            return i + 1;
    }
    return 0;
}

} // namespace

QuickAccessViewModel::QuickAccessViewModel(DataController &store, Clipboard &clipboard,
                                           TimerScheduler &timers, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_clipboard(clipboard)
    , m_timers(timers)
    , m_binzos(store.binzoModel())
    , m_hadBinzos(hasBinzos())
    , m_previews(KeychainStore::shared())
{
    m_visible.setPreviews(&m_previews);
    connect(&store, &DataController::binzosChanged, this, [this] {
        reloadBinzos();
        refresh();
    });
    connect(&store, &DataController::entriesChanged, this, [this] {
        m_listStale = true;
        refresh();
    });
    // A binzo's colour tints the rows of its entries.
    connect(m_binzos, &BinzoListModel::dataChanged, this, [this] {
        m_listStale = true;
        refresh();
    });
    reloadBinzos();
    refresh();
}

QuickAccessViewModel::~QuickAccessViewModel() = default;

Binzo *QuickAccessViewModel::currentBinzo() const
{
    return m_binzos->binzoAt(m_selectedBinzo);
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
    m_store.deleteEntry(entry);
    // Never keep the deleted record in the list, whatever the store announced.
    m_listStale = true;
    refresh();
    const int count = m_visible.rowCount();
    if (m_selectedEntry >= count)
        assignSelectedEntry(std::max(count - 1, 0));
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
    const auto modifiers = Qt::KeyboardModifiers(qtModifiers);
    if (modifiers & Qt::ControlModifier) {
        const QString characters = keyCharacters(qtKey, text);
        if (characters.toLower() == QLatin1String("n")) {
            startNewEntry();
            return true;
        }
        bool isNumber = false;
        int digit = characters.toInt(&isNumber);
        if (!isNumber)
            digit = numberRowDigit(nativeScanCode);
        if (digit >= 1 && digit <= 9) {
            selectBinzo(digit - 1);
            return true;
        }
    }
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        copySelected();
        return true;
    case Qt::Key_Down:
        moveSelection(+1);
        return true;
    case Qt::Key_Up:
        moveSelection(-1);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Text in the field: Tab belongs to the focus chain.
        if (!m_search.isEmpty())
            return false;
        cycleBinzo(qtKey == Qt::Key_Backtab || (modifiers & Qt::ShiftModifier) ? -1 : +1);
        return true;
    default:
        return false;
    }
}

void QuickAccessViewModel::panelHidden()
{
    ++m_copyRequest;
    assignRevealed(QUuid());
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
    if (m_editingEntry) {
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
    if (!entry->isSensitive()) {
        if (const std::optional<QString> value = entry->inlineValue())
            finishCopy(*entry, *value);
        return;
    }
    // The value comes from the secret store's thread; the copy happens when it arrives,
    // unless another copy or the panel's hiding came first.
    QPointer<Entry> target(entry);
    KeychainStore &secrets = KeychainStore::shared();
    secrets.read(entry->id(), KeychainStore::Purpose::Use, this,
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
                         KeychainStore::shared().unlock();
                         showFailure(SecretPreviews::lockedText());
                         break;
                     case SecretResult::Status::Unknown:
                         showFailure(SecretPreviews::notAnsweringText());
                         break;
                     case SecretResult::Status::Failed:
                         showFailure(QStringLiteral("Couldn't read the value: ") + result.error);
                         break;
                     }
                 });
    m_timers.schedule(kValueWait, [self = QPointer<QuickAccessViewModel>(this), request] {
        if (!self || request != self->m_copyRequest)
            return;
        self->showFailure(KeychainStore::shared().isUnlocking()
                              ? SecretPreviews::lockedText()
                              : SecretPreviews::notAnsweringText());
    });
}

void QuickAccessViewModel::finishCopy(Entry &entry, const QString &value)
{
    const QString label = entry.label();
    m_clipboard.setText(value, entry.isSensitive());
    m_store.markUsed(&entry);
    assignToast(QStringLiteral("Copied ") + label);
    m_timers.schedule(kDismissDelay, [self = QPointer<QuickAccessViewModel>(this)] {
        if (!self)
            return;
        self->dismiss();
        self->assignToast(QString());
    });
}

void QuickAccessViewModel::showFailure(const QString &text)
{
    assignToast(text, true);
    m_timers.schedule(kFailureShown, [self = QPointer<QuickAccessViewModel>(this), text] {
        if (self && self->m_toastIsFailure && self->m_toast == text)
            self->assignToast(QString());
    });
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

void QuickAccessViewModel::assignToast(const QString &toast, bool isFailure)
{
    if (toast == m_toast && isFailure == m_toastIsFailure)
        return;
    m_toast = toast;
    m_toastIsFailure = isFailure;
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

void QuickAccessViewModel::reloadBinzos()
{
    m_listStale = true;
    if (m_hadBinzos != hasBinzos()) {
        m_hadBinzos = hasBinzos();
        emit hasBinzosChanged();
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
    m_visible.setEntries(Search::visibleEntries(m_search, current, m_store.entries()), accents);
    if (couldCopy != canCopy())
        emit canCopyChanged();
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
