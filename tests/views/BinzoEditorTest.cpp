// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/BinzoEditor.h"
#include "StoreFixture.h"

namespace {

struct BinzoEditorTest : ::testing::Test, StoreFixture
{
    std::unique_ptr<DataController> data = openStore();
    Binzo *binzo(const QString &name) const { return data->binzo(name); }
};

TEST_F(BinzoEditorTest, NameIsTrimmedAndABlankOneCannotBeSaved)
{
    for (const QString name : {"", "   ", "\t", "\u00A0\u2002"}) {
        BinzoEditor editor(nullptr, *data);
        editor.setName(name);
        EXPECT_FALSE(editor.canSave());
        EXPECT_EQ(editor.save(), nullptr);
    }
    EXPECT_EQ(data->binzos().size(), 3);
    BinzoEditor editor(nullptr, *data);
    editor.setName("  Work\u2003");
    Binzo *created = editor.save();
    ASSERT_TRUE(created);
    EXPECT_EQ(created->name(), "Work");
}

TEST_F(BinzoEditorTest, EditKeepsUnlistedStoredValuesAndWritesAllAtSave)
{
    Binzo *bank = binzo("Bank");
    bank->setColorHex("6385f4"); // the first swatch in lower case is not the swatch
    bank->setSfSymbol("custom.symbol");
    BinzoEditor editor(bank, *data);
    EXPECT_EQ(editor.colorHex(), "6385f4");
    EXPECT_FALSE(BinzoEditor::swatches().contains(editor.colorHex()));

    editor.setName(" Savings ");
    EXPECT_EQ(bank->name(), "Bank") << "nothing changes before Save";
    EXPECT_EQ(editor.save(), bank);
    EXPECT_EQ(bank->name(), "Savings");
    EXPECT_EQ(bank->colorHex(), "6385f4");
    EXPECT_EQ(bank->sfSymbol(), "custom.symbol");

    BinzoEditor again(bank, *data);
    again.setSymbol("lock.fill");
    again.setColorHex("F46BC0");
    ASSERT_TRUE(again.save());
    EXPECT_EQ(bank->sfSymbol(), "lock.fill");
    EXPECT_EQ(bank->colorHex(), "F46BC0");
}

} // namespace
