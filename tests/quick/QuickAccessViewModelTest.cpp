// SPDX-License-Identifier: GPL-3.0-or-later
#include "ForeignLock.h"
#include "QuickFakes.h"
#include "StoreFixture.h"

#include "quick/QuickAccessViewModel.h"
#include "smartfind/SemanticSearch.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

const Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
const Qt::KeyboardModifiers kShift = Qt::ShiftModifier;

struct QuickAccessTest : ::testing::Test, StoreFixture
{
    std::unique_ptr<DataController> store;
    FakeClipboard clipboard;
    std::unique_ptr<QuickAccessViewModel> view;
    int dismissals = 0;

    void SetUp() override { reopen(); }

    void reopen()
    {
        view.reset();
        store.reset();
        store = openStore();
        ASSERT_TRUE(store);
        view = std::make_unique<QuickAccessViewModel>(*store, SemanticSearch::shared(), clipboard,
                                                      timers);
        view->onDismiss = [this] { ++dismissals; };
    }

    Binzo *binzo(int index) const { return store->binzos().at(index); }
    Entry *add(int binzoIndex, const QString &label, const QString &value = "value",
               bool isSensitive = false)
    {
        return addEntryAndWait(*store, binzo(binzoIndex), label, value, isSensitive);
    }
    bool key(int qtKey, Qt::KeyboardModifiers modifiers = {}, const QString &text = {},
             quint32 nativeScanCode = 0)
    {
        return view->handleKey(qtKey, int(modifiers), text, nativeScanCode);
    }

    VisibleEntriesModel &rows() const { return *view->visibleEntries(); }
    QVariant role(int row, int role) const { return rows().data(rows().index(row), role); }
    QStringList labels() const
    {
        QStringList out;
        for (const Entry *entry : rows().entries())
            out.append(entry->label());
        return out;
    }
};

TEST_F(QuickAccessTest, ArrowsStopAtTheEnds)
{
    add(0, "Alpha");
    add(0, "Beta");
    Entry *gamma = add(0, "Gamma");
    ASSERT_EQ(labels(), QStringList({"Alpha", "Beta", "Gamma"}));

    const struct
    {
        int key;
        int presses;
        int expected;
    } steps[] = {
        {Qt::Key_Down, 1, 1},
        {Qt::Key_Down, 5, 2},
        {Qt::Key_Up, 1, 1},
        {Qt::Key_Up, 5, 0},
    };
    for (const auto &step : steps) {
        for (int i = 0; i < step.presses; ++i)
            EXPECT_TRUE(key(step.key));
        EXPECT_EQ(view->selectedEntry(), step.expected) << step.key << " x" << step.presses;
        for (int row = 0; row < 3; ++row)
            EXPECT_EQ(role(row, VisibleEntriesModel::IsSelectedRole).toBool(),
                      row == step.expected);
    }
    // Deleted elsewhere while selected, the selection is beyond the end until an arrow.
    view->rowClicked(2);
    store->deleteEntry(gamma);
    EXPECT_EQ(view->selectedEntry(), 2);
    key(Qt::Key_Up);
    EXPECT_EQ(view->selectedEntry(), 1);
}

TEST_F(QuickAccessTest, ReturnAndEnterCopyTheSelectionOtherKeysPassThrough)
{
    add(0, "Alpha", "a-value");
    add(0, "Beta", "b-value");
    const struct
    {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
        bool copies; // and is taken; the others reach the search field
    } presses[] = {
        {Qt::Key_Return, {}, {}, true},    {Qt::Key_Enter, Qt::KeypadModifier, {}, true},
        {Qt::Key_Return, kCtrl, {}, true}, {Qt::Key_N, {}, "n", false},
        {Qt::Key_1, {}, "1", false},       {Qt::Key_Escape, {}, "\x1b", false},
        {Qt::Key_Left, {}, {}, false},     {Qt::Key_0, kCtrl, "0", false},
        {Qt::Key_A, kCtrl, "\x01", false}, {Qt::Key_Plus, kCtrl, "+", false},
    };
    for (const auto &press : presses) {
        clipboard.writes.clear();
        EXPECT_EQ(key(press.key, press.modifiers, press.text), press.copies) << press.key;
        EXPECT_EQ(clipboard.writes.size(), press.copies ? 1 : 0) << press.key;
    }
    EXPECT_EQ(view->toast(), "Copied Alpha");
    EXPECT_FALSE(view->showEntryEditor());
}

TEST_F(QuickAccessTest, TabCyclesThroughBinzosBothWays)
{
    const struct
    {
        int start;
        int key;
        Qt::KeyboardModifiers modifiers;
        int expected;
    } cases[] = {
        {0, Qt::Key_Tab, {}, 1},
        {0, Qt::Key_Backtab, kShift, 2}, // what X11 reports for Shift+Tab
        {0, Qt::Key_Tab, kShift, 2},
        {2, Qt::Key_Tab, {}, 0},
        {1, Qt::Key_Backtab, kShift, 0},
    };
    for (const auto &c : cases) {
        view->selectBinzo(c.start);
        EXPECT_TRUE(key(c.key, c.modifiers));
        EXPECT_EQ(view->selectedBinzo(), c.expected) << c.start << " " << c.key;
    }
}

TEST_F(QuickAccessTest, CtrlDigitSelectsABinzo)
{
    add(0, "Alpha");
    add(0, "Beta");
    const struct
    {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
        int expected;
        quint32 x11Keycode = 0;
    } cases[] = {
        {Qt::Key_3, kCtrl, "3", 2},
        {Qt::Key_5, kCtrl, "5", 2}, // no fifth binzo: nothing changes, still swallowed
        {Qt::Key_1, kCtrl, "1", 0},
        {Qt::Key_2, kCtrl | Qt::KeypadModifier, "2", 1},
        {Qt::Key_1, kCtrl, {}, 0}, // some layouts report no text with Ctrl held
        {Qt::Key_Eacute, kCtrl, {}, 1, 11}, // AZERTY: the key marked 2 types é
        {Qt::Key_Ampersand, kCtrl, "&", 0, 10},
    };
    for (const auto &c : cases) {
        view->setSearch("zz");
        view->rowClicked(1);
        EXPECT_TRUE(key(c.key, c.modifiers, c.text, c.x11Keycode)) << c.key;
        EXPECT_EQ(view->selectedBinzo(), c.expected) << c.key;
    }
    // A symbol off the number row is no binzo.
    view->selectBinzo(1);
    EXPECT_FALSE(key(Qt::Key_Ampersand, kCtrl, "&"));
    EXPECT_EQ(view->selectedBinzo(), 1);
    // Ctrl+1 cleared the search and selected the first row.
    view->setSearch("Al");
    key(Qt::Key_1, kCtrl, "1");
    EXPECT_EQ(view->search(), "");
    EXPECT_EQ(view->selectedEntry(), 0);
}

TEST_F(QuickAccessTest, TypingAlwaysSelectsTheFirstRow)
{
    add(0, "Alpha");
    add(0, "Alpine");
    add(0, "Beta");
    view->rowClicked(2);
    for (const QString text : {"a", "al", "alp", "al", ""}) {
        view->rowClicked(1);
        view->setSearch(text);
        EXPECT_EQ(view->selectedEntry(), 0) << qPrintable(text);
    }
}

TEST_F(QuickAccessTest, ShowingAgainResetsAllButTheBinzo)
{
    add(2, "Card", "4111111111111111", true);
    add(2, "IBAN", "DE89370400440532013000");
    view->selectBinzo(2);
    view->rowClicked(1);
    view->toggleReveal(rows().entryAt(0));
    view->setSearch("ca");
    view->resetForShow();
    EXPECT_EQ(view->search(), "");
    EXPECT_EQ(view->selectedEntry(), 0);
    EXPECT_TRUE(view->revealedID().isNull());
    EXPECT_EQ(view->selectedBinzo(), 2);
    EXPECT_EQ(view->currentBinzo(), binzo(2));
}

TEST_F(QuickAccessTest, CopyConfirmsCountsAndDismissesAfterTheDelay)
{
    add(0, "Alpha", "a");
    Entry *wifi = add(0, "Wi-Fi", "hunter22");
    ASSERT_EQ(labels(), QStringList({"Alpha", "Wi-Fi"}));
    view->rowClicked(1);

    ASSERT_EQ(clipboard.writes.size(), 1);
    EXPECT_EQ(clipboard.writes.at(0).value, "hunter22");
    EXPECT_FALSE(clipboard.writes.at(0).isSecret);
    EXPECT_EQ(wifi->useCount(), 1);
    EXPECT_TRUE(wifi->lastUsedAt().isValid());
    EXPECT_EQ(view->toast(), "Copied Wi-Fi");
    EXPECT_EQ(labels(), QStringList({"Wi-Fi", "Alpha"}));

    timers.advance(549ms);
    EXPECT_EQ(dismissals, 0);
    EXPECT_EQ(view->toast(), "Copied Wi-Fi");
    timers.advance(1ms);
    EXPECT_EQ(dismissals, 1);
    EXPECT_EQ(view->toast(), "");

    // A second copy before the panel closes takes over the toast and closes it once more.
    view->rowClicked(0);
    timers.advance(300ms);
    view->rowClicked(1);
    EXPECT_EQ(view->toast(), "Copied Alpha");
    timers.advance(250ms);
    EXPECT_EQ(dismissals, 2);
    EXPECT_EQ(view->toast(), "");
    timers.advance(300ms);
    EXPECT_EQ(dismissals, 3);
    // A closing due after the panel was opened again leaves the new one open.
    view->rowClicked(0);
    view->resetForShow();
    timers.advance(550ms);
    EXPECT_EQ(dismissals, 3);
    // A closing due after the view is gone does nothing.
    view->rowClicked(0);
    view.reset();
    timers.advance(1s);
    EXPECT_EQ(dismissals, 3);
}

// The value of a sensitive entry comes from the keyring's own thread: the copy happens when
// it arrives, and a keyring that cannot give it says why in the toast's failure form.
TEST_F(QuickAccessTest, SensitiveCopyFollowsTheKeyring)
{
    const QString value = "ghp_abcdefghijklmnop1234";
    const QString none = "(nothing)";
    const struct
    {
        const char *name;
        std::function<void(FakeSecretBackend::State &)> keyring;
        QString copied;
        QString toast; // as soon as the keyring answered, or after kValueWait when it does not
        bool failure;
    } cases[] = {
        {"answers", [](auto &) {}, value, "Copied GitHub token", false},
        {"has no item", [](auto &s) { s.clear(); }, none, "", false},
        {"locked",
         [](auto &s) {
             s.setLocked(true);
             s.answerPrompt(false);
         },
         none, "The system keyring is locked", true},
        {"hung", [](auto &s) { s.hang(); }, none, "The system keyring does not answer", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        secrets.resume();
        secrets.setLocked(false);
        reopen();
        Entry *token = add(1, "GitHub token", value, true);
        c.keyring(secrets);
        clipboard.writes.clear();
        view->copyEntry(token);
        settleSecretCalls();
        if (view->toast().isEmpty())
            timers.advance(QuickAccessViewModel::kValueWait);
        EXPECT_EQ(clipboard.writes.isEmpty() ? none : clipboard.writes.first().value, c.copied);
        EXPECT_EQ(view->toast(), c.toast);
        EXPECT_EQ(view->toastSymbol() == QuickAccessViewModel::failureSymbol(), c.failure);
        EXPECT_EQ(token->useCount(), c.copied == none ? 0 : 1);
    }
    // A keyring slow to answer: the toast says so meanwhile, and the value is copied when it
    // comes, the panel still being shown.
    Entry *token = store->entries().last();
    clipboard.writes.clear();
    secrets.hang(10000);
    view->copyEntry(token);
    timers.advance(QuickAccessViewModel::kValueWait);
    EXPECT_EQ(view->toast(), "The system keyring does not answer");
    secrets.resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !clipboard.writes.isEmpty(); }, 5000));
    EXPECT_EQ(clipboard.writes.first().value, value);
    EXPECT_EQ(view->toast(), "Copied GitHub token");
    EXPECT_NE(view->toastSymbol(), QuickAccessViewModel::failureSymbol());
}

TEST_F(QuickAccessTest, LockedKeyringAsksOnceAndCopiesAfterUnlocking)
{
    add(1, "Token", "secret-value", true);
    view->selectBinzo(1);
    secrets.setLocked(true);
    view->resetForShow();
    EXPECT_EQ(role(0, VisibleEntriesModel::DisplayValueRole).toString(), "Loading\u2026");
    settleSecretCalls();
    // Drawing rows never prompts; Return does, and the prompt waits for the person.
    EXPECT_EQ(role(0, VisibleEntriesModel::DisplayValueRole).toString(),
              "The system keyring is locked");
    EXPECT_EQ(secrets.prompts(), 0);
    key(Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return secrets.prompts() == 1; }, 5000));
    EXPECT_TRUE(KeychainStore::shared().isUnlocking());
    EXPECT_EQ(view->toast(), "The system keyring is locked");
    key(Qt::Key_Return); // no second prompt while one is open
    timers.advance(QuickAccessViewModel::kValueWait);
    EXPECT_EQ(view->toast(), "The system keyring is locked");
    view->panelHidden(); // the prompt takes the focus

    secrets.answerPrompt(true);
    settleSecretCalls();
    EXPECT_FALSE(KeychainStore::shared().isUnlocking());
    EXPECT_EQ(secrets.prompts(), 1);
    // The copy asked for goes through, though the panel hid; rows are read again.
    ASSERT_EQ(clipboard.writes.size(), 1);
    EXPECT_EQ(clipboard.writes.first().value, "secret-value");
    role(0, VisibleEntriesModel::DisplayValueRole);
    settleSecretCalls();
    EXPECT_EQ(role(0, VisibleEntriesModel::DisplayValueRole).toString(),
              QString(8, QChar(0x2022)) + " alue");
}

TEST_F(QuickAccessTest, RevealIsExclusive)
{
    Entry *a = add(1, "A key", "aaaaaaaaaa", true);
    Entry *b = add(1, "B key", "bbbbbbbbbb", true);
    view->selectBinzo(1);
    view->toggleReveal(a);
    view->toggleReveal(b);
    role(1, VisibleEntriesModel::DisplayValueRole);
    role(0, VisibleEntriesModel::DisplayValueRole);
    settleSecretCalls();
    EXPECT_EQ(view->revealedID(), b->id());
    EXPECT_FALSE(role(0, VisibleEntriesModel::IsRevealedRole).toBool());
    EXPECT_TRUE(role(1, VisibleEntriesModel::IsRevealedRole).toBool());
    EXPECT_EQ(role(1, VisibleEntriesModel::DisplayValueRole).toString(), "bbbbbbbbbb");
    EXPECT_EQ(role(0, VisibleEntriesModel::DisplayValueRole).toString(),
              QString(6, QChar(0x2022)) + " aaaa");
    view->toggleReveal(b);
    EXPECT_TRUE(view->revealedID().isNull());
    EXPECT_FALSE(role(1, VisibleEntriesModel::IsRevealedRole).toBool());
    // Revealing neither copies nor counts.
    EXPECT_TRUE(clipboard.writes.isEmpty());
    EXPECT_EQ(a->useCount() + b->useCount(), 0);
}

TEST_F(QuickAccessTest, DeleteKeepsTheSelectionInsideTheList)
{
    add(0, "Alpha");
    add(0, "Beta");
    add(0, "Gamma");
    const struct
    {
        int selected;
        int deleted;
        int expected;
    } steps[] = {
        {2, 2, 1}, // the selected last row of three: the new last row
        {0, 1, 0}, // a row below the selection: unchanged
        {0, 0, 0}, // the last remaining row: 0 and an empty list
    };
    for (const auto &step : steps) {
        view->rowClicked(step.selected);
        view->deleteEntry(rows().entryAt(step.deleted));
        EXPECT_EQ(view->selectedEntry(), step.expected);
    }
    EXPECT_EQ(rows().rowCount(), 0);
    EXPECT_FALSE(view->canCopy());
    EXPECT_TRUE(store->entries().isEmpty());
}

// The entry sheet leaves the panel showing what it added; a new binzo becoming the current tab
// is the editors scenario's.
TEST_F(QuickAccessTest, TheEntrySheetJumpsToWhatItAdded)
{
    view->setSearch("something");
    view->startNewEntry();
    Entry *entry = add(2, "Card", "4111");
    view->entryEditorDone(binzo(2));
    EXPECT_FALSE(view->showEntryEditor());
    EXPECT_EQ(view->search(), "");
    EXPECT_EQ(view->selectedBinzo(), 2);
    EXPECT_EQ(view->selectedEntry(), 0);
    EXPECT_EQ(view->addTargetBinzo(), nullptr);
    EXPECT_EQ(rows().entryAt(0), entry);
}

TEST_F(QuickAccessTest, AnEmptyValueIsCopiedAnEmptyBinzoHasNothing)
{
    add(0, "Blank", "");
    key(Qt::Key_Return);
    ASSERT_EQ(clipboard.writes.size(), 1);
    EXPECT_EQ(clipboard.writes.at(0).value, "");
    clipboard.writes.clear();
    view->selectBinzo(1);
    EXPECT_FALSE(view->canCopy());
    view->copySelected();
    EXPECT_TRUE(key(Qt::Key_Return));
    EXPECT_TRUE(clipboard.writes.isEmpty());
    view->rowClicked(3);
    EXPECT_TRUE(clipboard.writes.isEmpty());
}

QString quoted(const QString &text)
{
    return QString::fromUtf8("\u201C") + text + QString::fromUtf8("\u201D");
}

// Everything a record keeps, for comparing a restored one with the deleted one.
auto recordOf(const Entry &entry)
{
    const Entry::Fields &f = entry.fields();
    return std::tuple(f.id, f.label, f.inlineValue, f.isSensitive, f.binzoID, f.createdAt,
                      f.updatedAt, f.lastUsedAt, f.useCount);
}

// The secret of a deleted entry stays in the keyring (never in memory) while Undo is offered,
// and goes when the offer ends.
TEST_F(QuickAccessTest, ShiftDeleteThenCtrlZRestoresTheRecordAndItsSecret)
{
    add(1, "Other");
    Entry *token = add(1, "Token", "s3cret-value", true);
    const QString account = KeychainStore::account(token->id());
    view->selectBinzo(1);
    view->rowClicked(1); // used once, so it comes first
    settleSecretCalls();
    timers.advance(1s);
    key(Qt::Key_Up);
    ASSERT_EQ(rows().entryAt(0), token);
    const auto before = recordOf(*token);

    EXPECT_TRUE(key(Qt::Key_Delete, kShift));
    settleSecretCalls();
    EXPECT_EQ(view->toast(), "Deleted " + quoted("Token"));
    EXPECT_TRUE(view->canUndo());
    EXPECT_EQ(secrets.value(account), "s3cret-value");
    EXPECT_EQ(labels(), QStringList({"Other"}));

    timers.advance(7999ms);
    EXPECT_TRUE(key(Qt::Key_Z, kCtrl, "\x1a"));
    settleSecretCalls();
    EXPECT_FALSE(view->canUndo());
    EXPECT_EQ(view->toast(), "");
    ASSERT_EQ(labels(), QStringList({"Token", "Other"}));
    EXPECT_EQ(view->selectedEntry(), 0);
    EXPECT_EQ(recordOf(*rows().entryAt(0)), before);
    EXPECT_EQ(secrets.value(account), "s3cret-value");
    EXPECT_TRUE(KeychainStore::shared().notes().isEmpty());
    reopen();
    view->selectBinzo(1);
    EXPECT_EQ(recordOf(*rows().entryAt(0)), before);

    view->deleteEntry(rows().entryAt(0));
    timers.advance(QuickAccessViewModel::kUndoWindow);
    settleSecretCalls();
    EXPECT_FALSE(view->canUndo());
    EXPECT_EQ(view->toast(), "");
    EXPECT_FALSE(key(Qt::Key_Z, kCtrl, "\x1a")) << "nothing to undo: the search field's own undo";
    EXPECT_EQ(secrets.value(account), std::nullopt);
}

TEST_F(QuickAccessTest, ACopyEndsTheOfferToUndo)
{
    add(0, "Alpha");
    add(0, "Beta");
    view->deleteEntry(rows().entryAt(0));
    view->copySelected();
    EXPECT_FALSE(view->canUndo());
    EXPECT_FALSE(key(Qt::Key_Z, kCtrl, "\x1a"));
    EXPECT_EQ(labels(), QStringList({"Beta"}));
}

// The Menu key, Ctrl+, and Ctrl+Q from the panel are the keyboard scenario's.
TEST_F(QuickAccessTest, KeysReachTheSelectedEntryAndTheMenuCommands)
{
    Entry *token = add(1, "Token", "s3cret-value", true);
    view->selectBinzo(1);
    QSignalSpy menus(view.get(), &QuickAccessViewModel::contextMenuRequested);

    // Ctrl+N starts a new entry in the current binzo whatever text the layout reports;
    // F2 and Ctrl+E edit the selected one.
    const struct
    {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
        Entry *edited;
    } sheets[] = {
        {Qt::Key_N, kCtrl, "\x0e", nullptr}, {Qt::Key_N, kCtrl | kShift, "\x0e", nullptr},
        {Qt::Key_N, kCtrl, "n", nullptr},    {Qt::Key_N, kCtrl | kShift, "N", nullptr},
        {Qt::Key_F2, {}, {}, token},         {Qt::Key_E, kCtrl, "\x05", token},
    };
    for (const auto &sheet : sheets) {
        view->entryEditorCancelled();
        EXPECT_TRUE(key(sheet.key, sheet.modifiers, sheet.text)) << sheet.key;
        EXPECT_TRUE(view->showEntryEditor());
        EXPECT_EQ(view->editingEntry(), sheet.edited);
        if (!sheet.edited) {
            EXPECT_EQ(view->addTargetBinzo(), binzo(1));
        }
    }
    EXPECT_TRUE(key(Qt::Key_R, kCtrl, "\x12"));
    EXPECT_EQ(view->revealedID(), token->id());
    EXPECT_TRUE(key(Qt::Key_R, kCtrl, "\x12"));
    EXPECT_TRUE(view->revealedID().isNull());
    EXPECT_TRUE(key(Qt::Key_F10, kShift));
    ASSERT_EQ(menus.count(), 1);
    EXPECT_EQ(menus.at(0).at(0).toInt(), 0);
    EXPECT_TRUE(key(Qt::Key_O, kCtrl, "\x0f")); // already open
    // Plain F10, Delete and Shift+F2 are not commands.
    EXPECT_FALSE(key(Qt::Key_F10));
    EXPECT_FALSE(key(Qt::Key_Delete));
    EXPECT_FALSE(key(Qt::Key_F2, kShift));
    EXPECT_EQ(store->entries().size(), 1);
}

TEST_F(QuickAccessTest, MoveToFilesTheEntryUnderAnotherBinzo)
{
    Entry *alpha = add(0, "Alpha");
    add(0, "Beta");
    EXPECT_EQ(view->moveTargets(alpha), QList<QObject *>({binzo(1), binzo(2)}));
    view->rowClicked(1);
    view->moveEntry(alpha, binzo(2));
    EXPECT_EQ(labels(), QStringList({"Beta"}));
    EXPECT_EQ(view->selectedEntry(), 0);
    EXPECT_EQ(view->toast(), "Moved " + quoted("Alpha") + " to " + quoted("Bank"));
    timers.advance(QuickAccessViewModel::kNoticeDuration);
    EXPECT_EQ(view->toast(), "");
}

TEST_F(QuickAccessTest, CtrlShiftArrowsReorderBinzosAndTheOrderPersists)
{
    const auto names = [this] {
        QStringList out;
        for (const Binzo *b : store->binzos())
            out << b->name() + "@" + QString::number(b->sortIndex());
        return out;
    };
    const Qt::KeyboardModifiers ctrlShift = kCtrl | kShift;
    EXPECT_TRUE(key(Qt::Key_Right, ctrlShift));
    EXPECT_EQ(names(), QStringList({"API Keys@0", "Personal@1", "Bank@2"}));
    EXPECT_EQ(view->currentBinzo()->name(), "Personal");
    EXPECT_TRUE(key(Qt::Key_Right, ctrlShift));
    EXPECT_TRUE(key(Qt::Key_Right, ctrlShift)); // already last
    EXPECT_EQ(view->selectedBinzo(), 2);
    EXPECT_TRUE(key(Qt::Key_Left, ctrlShift));
    EXPECT_EQ(names(), QStringList({"API Keys@0", "Personal@1", "Bank@2"}));
    // While the field holds text the keys select words there.
    view->setSearch("word");
    EXPECT_FALSE(key(Qt::Key_Left, ctrlShift));
    // From the tab's menu, another binzo moves and the current one stays current.
    view->moveBinzo(binzo(2), -1);
    EXPECT_EQ(view->currentBinzo()->name(), "Personal");
    EXPECT_EQ(view->selectedBinzo(), 2);
    reopen();
    EXPECT_EQ(names(), QStringList({"API Keys@0", "Bank@1", "Personal@2"}));
}

TEST_F(QuickAccessTest, DeletingABinzoAsksFirstAndTakesOnlyItsEntries)
{
    add(1, "Token", "s3cret-value", true);
    add(1, "Other");
    Entry *iban = add(2, "IBAN");
    view->selectBinzo(1);
    const struct
    {
        int binzo;
        QString message;
    } messages[] = {
        {0, "It holds no entries. This can't be undone."},
        {2, "Its one entry is deleted with it. This can't be undone."},
        {1,
         "Its 2 entries are deleted with it. Secret values are removed from the system "
         "keyring too. This can't be undone."},
    };
    for (const auto &m : messages) {
        view->requestDeleteBinzo(binzo(m.binzo));
        EXPECT_EQ(view->deleteBinzoMessage(), m.message);
        view->cancelDeleteBinzo();
    }
    EXPECT_EQ(store->binzos().size(), 3);

    view->requestDeleteBinzo(binzo(1));
    EXPECT_EQ(view->deleteBinzoTitle(), "Delete " + quoted("API Keys") + "?");
    view->confirmDeleteBinzo();
    EXPECT_EQ(view->deletingBinzo(), nullptr);
    EXPECT_EQ(store->entries(), QList<Entry *>({iban}));
    settleSecretCalls();
    EXPECT_TRUE(secrets.accounts().isEmpty());
    EXPECT_EQ(view->currentBinzo()->name(), "Bank"); // the tab that took its place
    reopen();
    ASSERT_EQ(store->binzos().size(), 2);
    EXPECT_EQ(binzo(1)->name(), "Bank");
    EXPECT_EQ(binzo(1)->sortIndex(), 2); // the others' order is left as it was

    view->requestDeleteBinzo(binzo(1));
    view->confirmDeleteBinzo();
    EXPECT_FALSE(view->canDeleteBinzo());
    view->requestDeleteBinzo(binzo(0));
    EXPECT_EQ(view->deletingBinzo(), nullptr);
}

// Saves with no sheet of their own (a copy's usage count, a deletion) that cannot reach the
// disk yet are shown in the panel until a retry has them there.
TEST_F(QuickAccessTest, UnsavedChangesAreShownUntilARetrySavesThem)
{
    add(0, "Phone");
    add(0, "Email");
    EXPECT_EQ(view->saveNotice(), QString());
    ForeignLock lock(path);
    view->copySelected();
    EXPECT_EQ(
        view->saveNotice(),
        QString::fromUtf8("Couldn't save 1 change: database is locked \u2014 retrying\u2026"));
    view->deleteEntry(rows().entryAt(1));
    EXPECT_EQ(
        view->saveNotice(),
        QString::fromUtf8("Couldn't save 2 changes: database is locked \u2014 retrying\u2026"));
    timers.advance(30s);
    EXPECT_FALSE(view->saveNotice().isEmpty());

    QSignalSpy changed(view.get(), &QuickAccessViewModel::saveNoticeChanged);
    lock.release();
    timers.advance(2s);
    EXPECT_EQ(view->saveNotice(), QString());
    EXPECT_FALSE(changed.isEmpty());
}

} // namespace
