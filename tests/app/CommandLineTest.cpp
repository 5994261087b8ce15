// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreFixture.h"

#include "app/CommandLine.h"
#include "app/VaultCommands.h"
#include "views/EntryEditor.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Kind = CommandLine::Invocation::Kind;

TEST(CommandLineTest, ArgumentsBecomeRequestsOrClearUsageErrors)
{
    const struct
    {
        QStringList arguments;
        Kind kind;
        const char *says; // in the text, for help and usage errors
    } cases[] = {
        {{}, Kind::RunApp, ""},
        {{"binzo://open", "-platform", "xcb"}, Kind::RunApp, ""},
        {{"-reverse", "binzo://open"}, Kind::RunApp, ""},
        {{"--help"}, Kind::Help, "Exit status"},
        {{"binzo://open", "-h"}, Kind::Help, "Usage: binzo"},
        {{"binzo://open", "--version"}, Kind::Version, "binzo " BINZO_VERSION},
        {{"lst"}, Kind::UsageError, "unknown command \"lst\""},
        {{"copy", "--help"}, Kind::Help, "Usage: binzo copy LABEL"},
        {{"copy"}, Kind::UsageError, "LABEL is missing"},
        {{"copy", ""}, Kind::UsageError, "LABEL is empty"},
        {{"copy", "a", "b"}, Kind::UsageError, "unexpected argument \"b\""},
        {{"copy", "a", "--binzo"}, Kind::UsageError, "--binzo needs a value"},
        {{"copy", "a", "--binzo", " "}, Kind::UsageError, "--binzo is empty"},
        {{"copy", "a", "--reveal"}, Kind::UsageError, "unknown option --reveal"},
        {{"list", "--json=yes"}, Kind::UsageError, "--json takes no value"},
        {{"list", "--json", "--json"}, Kind::UsageError, "--json is given twice"},
        {{"add", "--binzo", "Bank", "--label", " "}, Kind::UsageError, "--label is empty"},
        {{"add", "--binzo", "Bank", "--label", "PIN", "4711"},
         Kind::UsageError,
         "unexpected argument \"4711\""},
        {{"export", "out.json", "--passphrase-fd", "x"}, Kind::UsageError, "file descriptor"},
        {{"import"}, Kind::UsageError, "FILE is missing"},
    };
    for (const auto &c : cases) {
        const CommandLine::Invocation invocation = CommandLine::parse(c.arguments);
        EXPECT_EQ(invocation.kind, c.kind) << qPrintable(c.arguments.join(' '));
        EXPECT_TRUE(invocation.text.contains(c.says))
            << qPrintable(c.arguments.join(' ')) << ": " << qPrintable(invocation.text);
    }

    EXPECT_EQ(CommandLine::parse({"binzo://open", "-style", "fusion", "binzo:open"}).links,
              QStringList({"binzo://open", "binzo:open"}));
    const CommandRequest get
        = CommandLine::parse({"get", "--binzo=Bank", "--reveal", "--", "--PIN"}).request;
    EXPECT_EQ(get.command, "get");
    EXPECT_EQ(get.label, "--PIN");
    EXPECT_EQ(get.binzo, "Bank");
    EXPECT_TRUE(get.reveal);
    const CommandRequest exported
        = CommandLine::parse({"export", "-", "--with-secrets", "--passphrase-fd", "3"}).request;
    EXPECT_EQ(exported.file, "-");
    EXPECT_TRUE(exported.withSecrets);
    EXPECT_EQ(exported.passphraseFd, 3);
}

struct VaultCommandsTest : ::testing::Test, StoreFixture
{
    std::unique_ptr<DataController> store = openStore();
    QStringList copied;
    bool clipboardWorks = true;
    std::unique_ptr<VaultCommands> commands;

    VaultCommandsTest()
    {
        store->addEntry(store->binzo("Personal"), "Email", "ada@example.org", false);
        store->addEntry(store->binzo("Bank"), "Email", "bank@example.org", false);
        addEntryAndWait(*store, store->binzo("Bank"), "PIN", "4711", true);
        commands = std::make_unique<VaultCommands>(
            *store,
            [this](Entry &entry, const QString &value) -> Result<void> {
                if (!clipboardWorks)
                    return Failure {"no clipboard"};
                copied.append(value);
                store->markUsed(&entry);
                return {};
            },
            VaultCommands::Owner::ThisCommand);
    }

    // The reply to a command line (with `value` on standard input), once the secret store has
    // answered where the command needs it.
    CommandReply run(const QStringList &arguments, const QString &value = {})
    {
        CommandRequest request = CommandLine::parse(arguments).request;
        request.value = value;
        return answer(request);
    }
    CommandReply answer(const CommandRequest &request)
    {
        std::optional<CommandReply> reply;
        commands->run(request, [&](const CommandReply &given) { reply = given; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return reply.has_value(); }, 10000));
        return reply.value_or(CommandReply::failure(-1, "no reply"));
    }
};

// A missing entry or binzo, a missing --reveal, an empty value and a label taken are the
// command-line scenario's, end to end.
TEST_F(VaultCommandsTest, EachOutcomeHasItsExitCode)
{
    const auto add = [](const char *binzo, const char *label) {
        return QStringList {"add", "--binzo", binzo, "--label", label};
    };
    const struct
    {
        QStringList arguments;
        QString value; // on standard input
        int exitCode;
        const char *says;
    } cases[] = {
        {{"copy", "pin"}, {}, 0, "Copied PIN"}, // the label in any case
        {{"copy", "email"}, {}, 2, "choose one"}, // a label in two binzos
        {{"copy", "email", "--binzo", "bank"}, {}, 0, ""},
        {{"copy", "PIN", "--binzo", "Travel"}, {}, 1, "no binzo"},
        {add("Bank", "Long"), QString(EntryEditor::kMaxValueLength + 1, 'x'), 2, "values of up to"},
        {add("Bank", "Account"), "DE89370400440532013000", 0,
         "as sensitive: it looks like an IBAN"},
        {{"import", "-"}, {}, 2, "nothing was imported"}, // an empty export
    };
    for (const auto &c : cases) {
        const CommandReply reply = run(c.arguments, c.value);
        const std::string name = c.arguments.join(' ').toStdString();
        EXPECT_EQ(reply.exitCode, c.exitCode) << name << ": " << qPrintable(reply.message);
        EXPECT_TRUE(reply.message.contains(c.says)) << name << ": " << qPrintable(reply.message);
    }
    EXPECT_EQ(copied, QStringList({"4711", "bank@example.org"}));
    EXPECT_EQ(run({"get", "PIN", "--reveal"}).output, "4711\n");
    EXPECT_TRUE(store->entries().last()->isSensitive())
        << "a recognised secret is stored sensitive";
    // A request that did not come through this parser is checked as well.
    CommandRequest blank = CommandLine::parse(add("Bank", "Visa")).request;
    blank.label = " \t";
    blank.value = "4111";
    const CommandReply refused = answer(blank);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.message.contains("label is empty")) << qPrintable(refused.message);

    // Failures of the store's services.
    clipboardWorks = false;
    EXPECT_EQ(run({"copy", "PIN"}).exitCode, 3);
    secrets.clear();
    EXPECT_EQ(run({"get", "PIN", "--reveal"}).exitCode, 3);
    secrets.setFailWrites(true);
    EXPECT_EQ(run(add("Bank", "Card"), "4111 1111 1111 1111").exitCode, 3);
    EXPECT_EQ(store->entries().size(), 4) << "a refused secret adds nothing";
    EXPECT_EQ(store->entries().at(2)->useCount(), 1) << "a failed copy counts no use";
}

TEST_F(VaultCommandsTest, ListShowsEverythingButValues)
{
    const CommandReply text = run({"list"});
    EXPECT_EQ(text.output,
              "Personal\tEmail\tordinary\t0\n"
              "Bank\tEmail\tordinary\t0\n"
              "Bank\tPIN\tsensitive\t0\n");
    const QJsonArray rows
        = QJsonDocument::fromJson(run({"list", "--json", "--binzo", "bank"}).output).array();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows.at(1).toObject().value("label"), "PIN");
    EXPECT_EQ(rows.at(1).toObject().value("isSensitive"), true);
    EXPECT_FALSE(QJsonDocument(rows).toJson().contains("4711"));
}

} // namespace
