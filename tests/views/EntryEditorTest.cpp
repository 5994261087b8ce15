// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/EntryEditor.h"
#include "ForeignLock.h"
#include "StoreFixture.h"
#include "quick/LocalDetector.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLocale>
#include <QSignalSpy>

#include <functional>

namespace {

const QString kIban = QStringLiteral("DE89370400440532013000");
const Detection kIbanDetection {"IBAN", "Bank", "IBAN", true};
const Detection kEmailDetection {"Email", "Personal", "Email", false};
const Detection kNowhereDetection {"Token", "Nowhere", "Token", true};

// Recognises a few fixed values so that the rules are tested apart from the detector's tables.
std::optional<Detection> fakeDetect(const QString &text)
{
    if (text == kIban)
        return kIbanDetection;
    if (text == "me@example.org")
        return kEmailDetection;
    if (text == "tok_123")
        return kNowhereDetection;
    return std::nullopt;
}

struct EntryEditorTest : ::testing::Test, StoreFixture
{
    std::unique_ptr<DataController> data = openStore();

    Binzo *binzo(const QString &name) const { return data->binzo(name); }
    std::unique_ptr<EntryEditor> create(const QString &target)
    {
        return std::make_unique<EntryEditor>(EntryEditor::Mode::create(binzo(target)), *data,
                                             &fakeDetect);
    }
    std::unique_ptr<EntryEditor> edit(Entry *entry)
    {
        return std::make_unique<EntryEditor>(EntryEditor::Mode::edit(entry), *data, &fakeDetect);
    }
    QList<Entry *> entriesIn(const QString &name) const
    {
        QList<Entry *> found;
        for (Entry *entry : data->entries()) {
            if (entry->binzoID() == binzo(name)->id())
                found << entry;
        }
        return found;
    }
};

TEST_F(EntryEditorTest, SaveNeedsALabelBeyondSpacesAndKeepsTheValueAsTyped)
{
    const struct
    {
        QString label;
        QString value;
        QString stored; // the label saved; empty when it cannot be saved
    } cases[] = {
        {"", "x", {}},
        {"   ", "x", {}},
        {QString::fromUtf8("\t\u00A0\u2003 "), "x", {}}, // tab, no-break and em space
        {"\n", "x", "\n"}, // a line break is content
        {"Phone", "", {}},
        {"Phone", "   ", "Phone"}, // the value is never trimmed
        {"  Phone\t", "  +49 30 1234567 ", "Phone"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(qPrintable(c.label + '/' + c.value));
        auto editor = create("Personal");
        QSignalSpy done(editor.get(), &EntryEditor::done);
        editor->setLabel(c.label);
        editor->setValue(c.value);
        const bool canSave = !c.stored.isEmpty();
        EXPECT_EQ(editor->canSave(), canSave);
        EXPECT_EQ(editor->save(), canSave);
        if (!canSave)
            continue;
        EXPECT_EQ(data->entries().last()->label(), c.stored);
        EXPECT_EQ(data->entries().last()->inlineValue(), c.value);
        ASSERT_EQ(done.size(), 1);
        EXPECT_EQ(done.first().first().value<Binzo *>(), binzo("Personal"));
    }
}

TEST_F(EntryEditorTest, SuggestionTexts)
{
    const struct
    {
        QString target;
        QString value;
        QString title;
        QString subtitle;
    } cases[] = {
        {"Personal", kIban, "Looks like an IBAN",
         QString::fromUtf8("File in \u201CBank\u201D \u00B7 mark secret")},
        {"Bank", "me@example.org", "Looks like an Email",
         QString::fromUtf8("File in \u201CPersonal\u201D")},
        // no binzo of the suggested name
        {"Personal", "tok_123", "Looks like a Token", "Mark as secret"},
        {"Bank", kIban, "Looks like an IBAN", "Mark as secret"}, // already the target
        {"Personal", "me@example.org", "Looks like an Email", "Set a label"},
    };
    for (const auto &c : cases) {
        auto editor = create(c.target);
        editor->setValue(c.value);
        ASSERT_TRUE(editor->hasSuggestion());
        EXPECT_EQ(editor->suggestionTitle(), c.title);
        EXPECT_EQ(editor->suggestionSubtitle(), c.subtitle) << qPrintable(c.value);
    }
    // The target is the suggested binzo in any letter case.
    binzo("Bank")->setName("bANK");
    auto editor = create("bANK");
    editor->setValue(kIban);
    EXPECT_EQ(editor->suggestionSubtitle(), "Mark as secret");
}

TEST_F(EntryEditorTest, AValueOverTheLimitIsRefusedBeforeAnythingSeesIt)
{
    constexpr qsizetype limit = EntryEditor::kMaxValueLength;
    int detections = 0;
    EntryEditor editor(EntryEditor::Mode::create(binzo("Personal")), *data, [&](const QString &) {
        ++detections;
        return std::nullopt;
    });
    editor.setValue("kept");
    QSignalSpy shownAgain(&editor, &EntryEditor::valueChanged);
    // "kept" and the clipboard make limit + 3 characters.
    QGuiApplication::clipboard()->setText(QString(limit - 1, 'y'));
    const struct
    {
        const char *how;
        std::function<bool()> admitted;
    } refused[] = {
        {"typed", [&] { return editor.setValue(QString(limit + 1, 'x')), false; }},
        {"pasted", [&] { return editor.admitsPaste(0); }},
        {"pasted over too short a selection", [&] { return editor.admitsPaste(2); }},
    };
    for (const auto &c : refused) {
        EXPECT_FALSE(c.admitted()) << c.how;
        EXPECT_EQ(editor.value(), "kept") << c.how;
        EXPECT_TRUE(editor.valueError().contains(QLocale().toString(limit))) << c.how;
    }
    EXPECT_EQ(shownAgain.size(), 1); // the typed text goes back to what the form keeps
    EXPECT_EQ(detections, 1);

    // At the limit, and a paste that replaces enough, are taken and clear the message.
    EXPECT_TRUE(editor.admitsPaste(3));
    EXPECT_TRUE(editor.valueError().isEmpty());
    editor.setValue(QString(limit, 'x'));
    EXPECT_EQ(editor.value().size(), limit);
    EXPECT_EQ(detections, 2);
}

// A save the secret store refuses keeps the form as it was and stores nothing; the next one
// files the entry in the suggested binzo.
TEST_F(EntryEditorTest, ApplyFilesInSuggestedBinzoAndSaveReportsIt)
{
    auto editor = create("Personal");
    QSignalSpy done(editor.get(), &EntryEditor::done);
    editor->setValue(kIban);
    editor->apply();
    EXPECT_FALSE(editor->hasSuggestion());
    secrets.setFailWrites(true);
    EXPECT_TRUE(editor->save());
    settleSecretCalls();
    EXPECT_EQ(editor->errorText(), "Couldn't store the value: refused by the test");
    EXPECT_EQ(editor->label(), "IBAN");
    EXPECT_EQ(editor->value(), kIban);
    EXPECT_TRUE(editor->isSensitive());
    EXPECT_EQ(editor->targetBinzoName(), "Bank");
    EXPECT_TRUE(data->entries().isEmpty());
    EXPECT_TRUE(done.isEmpty());

    secrets.setFailWrites(false);
    ASSERT_TRUE(editor->save());
    EXPECT_FALSE(editor->canSave()) << "no second save while one is on its way";
    settleSecretCalls();
    EXPECT_EQ(editor->errorText(), QString());
    ASSERT_EQ(entriesIn("Bank").size(), 1);
    const Entry *entry = entriesIn("Bank").first();
    EXPECT_TRUE(entry->isSensitive());
    EXPECT_EQ(entry->inlineValue().value_or(QString()), QString());
    EXPECT_EQ(secrets.value(KeychainStore::account(entry->id())), kIban.toUtf8());
    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done.first().first().value<Binzo *>(), binzo("Bank"));

    // Applying an ordinary recognition keeps a typed label and turns the switch off.
    auto email = create("Bank");
    email->setLabel("Mine");
    email->setIsSensitive(true);
    email->setValue("me@example.org");
    email->apply();
    EXPECT_EQ(email->label(), "Mine");
    EXPECT_FALSE(email->isSensitive());
}

TEST_F(EntryEditorTest, SuggestedBinzoGoneBySaveFallsBackToTarget)
{
    auto editor = create("Personal");
    QSignalSpy done(editor.get(), &EntryEditor::done);
    editor->setValue(kIban);
    editor->apply();
    binzo("Bank")->setName("Old bank");
    ASSERT_TRUE(editor->save());
    settleSecretCalls();
    EXPECT_EQ(entriesIn("Personal").size(), 1);
    EXPECT_EQ(done.first().first().value<Binzo *>(), binzo("Personal"));
}

// The secret is read off the UI thread: the form waits for it, and cannot be saved over it
// meanwhile or when it cannot be read.
TEST_F(EntryEditorTest, EditLoadsTheEntryWithoutSuggesting)
{
    Entry *entry = addEntryAndWait(*data, binzo("Personal"), "Account", kIban, true);
    ASSERT_TRUE(entry);
    auto editor = edit(entry);
    EXPECT_EQ(editor->label(), "Account");
    EXPECT_TRUE(editor->isSensitive());
    EXPECT_EQ(editor->value(), QString());
    EXPECT_FALSE(editor->canSave());
    EXPECT_EQ(editor->statusText(), QString::fromUtf8("Reading the value\u2026"));
    settleSecretCalls();
    EXPECT_EQ(editor->value(), kIban);
    EXPECT_TRUE(editor->canSave());
    EXPECT_EQ(editor->statusText(), "");
    EXPECT_FALSE(editor->hasSuggestion());

    secrets.setLocked(true);
    auto locked = edit(entry);
    ASSERT_TRUE(QTest::qWaitFor([&] { return secrets.prompts() == 1; }, 5000));
    EXPECT_EQ(locked->errorText(), "The system keyring is locked. Unlock it to see the value.");
    EXPECT_FALSE(locked->canSave());
    secrets.answerPrompt(true);
    settleSecretCalls();
    EXPECT_EQ(locked->value(), kIban);
    EXPECT_EQ(locked->errorText(), "");

    secrets.clear(); // an unreadable secret opens empty and cannot be saved as is
    auto unreadable = edit(entry);
    settleSecretCalls();
    EXPECT_EQ(unreadable->value(), QString());
    EXPECT_FALSE(unreadable->canSave());
}

// An edited entry goes where the form's picker says, never where a recognised value would
// file a new one.
TEST_F(EntryEditorTest, EditingFilesTheEntryUnderThePickedBinzo)
{
    Entry *entry = data->addEntry(binzo("Personal"), "Phone", "+49 30 1234567", false);
    auto editor = edit(entry);
    ASSERT_EQ(editor->binzos().size(), 3);
    editor->setValue(kIban);
    EXPECT_EQ(editor->suggestionSubtitle(), "Mark as secret");
    editor->apply();
    EXPECT_EQ(editor->targetBinzoName(), std::nullopt);
    EXPECT_EQ(editor->binzos().at(editor->binzoIndex()), binzo("Personal"));
    editor->setBinzoIndex(int(editor->binzos().indexOf(binzo("API Keys"))));
    QSignalSpy done(editor.get(), &EntryEditor::done);
    ASSERT_TRUE(editor->save());
    settleSecretCalls();
    EXPECT_EQ(entriesIn("API Keys"), QList<Entry *>({entry}));
    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done.first().first().value<Binzo *>(), binzo("API Keys"));

    // A refused value changes and moves nothing; the form keeps what was typed.
    const Entry::Fields before = entry->fields();
    auto refused = edit(entry);
    settleSecretCalls();
    refused->setLabel("Mobile");
    refused->setValue("+49 171 1234567");
    refused->setIsSensitive(true);
    refused->setBinzoIndex(0);
    secrets.setFailWrites(true);
    EXPECT_TRUE(refused->save());
    settleSecretCalls();
    EXPECT_FALSE(refused->errorText().isEmpty());
    EXPECT_EQ(entry->fields(), before);
    EXPECT_EQ(refused->value(), "+49 171 1234567");
}

// A recognised secret is protected at once, before any Apply, so a plain Return stores it in
// the secret store; a switch the user has set in this form is theirs.
TEST_F(EntryEditorTest, RecognisedSecretTurnsTheSwitchOnUnlessTheUserSetIt)
{
    const struct
    {
        const char *name;
        std::function<void(EntryEditor &)> before; // what the user did first
        QString value;
        bool sensitive;
    } cases[] = {
        {"untouched switch", [](EntryEditor &) {}, kIban, true},
        {"user turned it off", [](EntryEditor &form) { form.setIsSensitive(false); }, kIban, false},
        {"user turned it on and off",
         [](EntryEditor &form) {
             form.setIsSensitive(true);
             form.setIsSensitive(false);
         },
         kIban, false},
        {"recognised but ordinary", [](EntryEditor &) {}, "me@example.org", false},
        {"secret replaced by an ordinary value", [](EntryEditor &form) { form.setValue(kIban); },
         "me@example.org", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        secrets.clear();
        auto editor = create("Personal");
        editor->setLabel("Account");
        c.before(*editor);
        editor->setValue(c.value);
        EXPECT_EQ(editor->isSensitive(), c.sensitive);
        EXPECT_TRUE(editor->hasSuggestion()) << "Apply is still offered";
        ASSERT_TRUE(editor->save());
        settleSecretCalls();
        const Entry *entry = data->entries().last();
        EXPECT_EQ(entry->isSensitive(), c.sensitive);
        EXPECT_EQ(entry->inlineValue().has_value(), !c.sensitive);
        EXPECT_EQ(secrets.value(KeychainStore::account(entry->id())).has_value(), c.sensitive);
    }
}

// While another program holds the store, the sheet stays open and says so; it closes by
// itself once a retry has the entry on disk, and saving again meanwhile adds no second one.
TEST_F(EntryEditorTest, LockedStoreKeepsTheSheetOpenUntilTheEntryIsOnDisk)
{
    using namespace std::chrono_literals;
    auto editor = create("Personal");
    QSignalSpy done(editor.get(), &EntryEditor::done);
    editor->setLabel("Phone");
    editor->setValue("+49 30 123");
    ForeignLock lock(path);

    EXPECT_FALSE(editor->save());
    EXPECT_EQ(editor->errorText(),
              QString::fromUtf8("Couldn't save: database is locked \u2014 retrying\u2026"));
    editor->setValue("+49 30 1234");
    EXPECT_FALSE(editor->save());
    timers.advance(10s);
    EXPECT_TRUE(done.isEmpty());

    lock.release();
    timers.advance(5s);
    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done.first().first().value<Binzo *>(), binzo("Personal"));
    EXPECT_EQ(editor->errorText(), QString());
    SqliteDatabase disk;
    ASSERT_TRUE(disk.open(path, SqliteDatabase::Mode::ReadOnly));
    EXPECT_EQ(disk.queryInteger("SELECT count(*) FROM Entry WHERE inlineValue = '+49 30 1234'"), 1);
    EXPECT_EQ(disk.queryInteger("SELECT count(*) FROM Entry"), 1);
}

} // namespace
