// SPDX-License-Identifier: GPL-3.0-or-later
#include "smartfind/WordForms.h"

#include <gtest/gtest.h>

namespace {

TEST(WordFormsTest, TokensKeepInnerApostrophesAndHyphens)
{
    const struct
    {
        QString text;
        QStringList tokens;
    } cases[] = {
        {"driver's license", {"driver's", "license"}},
        {QString::fromUtf8("mom\u2019s phone"), {"mom's", "phone"}},
        {"wi-fi password", {"wi-fi", "password"}},
        {"-dash- 'quoted'", {"dash", "quoted"}},
        {"e-mail/work  (2fa)", {"e-mail", "work", "2fa"}},
        {QString::fromUtf8("caf\u00e9 stra\u00dfe"),
         {QString::fromUtf8("caf\u00e9"), QString::fromUtf8("stra\u00dfe")}},
        {"", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(WordForms::tokens(c.text), c.tokens) << qPrintable(c.text);
}

TEST(WordFormsTest, ANumberAbbreviatedAfterAWordIsReadAsNumber)
{
    const struct
    {
        QString text;
        QStringList tokens;
    } cases[] = {
        {"acc no. & sort code", {"acc", "number", "sort", "code"}},
        {" ni no  ", {"ni", "number"}},
        {"ref no: 12 (policy no.)", {"ref", "number", "12", "policy", "number"}},
        {"metlife claim #", {"metlife", "claim", "number"}},
        {QString::fromUtf8("locker \u2116 4"), {"locker", "number", "4"}},
        // A closing "no" is taken for the abbreviation, which labels use far more.
        {"yes or no", {"yes", "or", "number"}},
        // The word itself: leading, inside a phrase, or alone.
        {"no claims bonus", {"no", "claims", "bonus"}},
        {"yes or no thanks", {"yes", "or", "no", "thanks"}},
        {"acc no, sort code", {"acc", "no", "sort", "code"}},
        {"no.", {"no"}},
        {"room #4", {"room", "4"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(WordForms::textTokens(c.text), c.tokens) << qPrintable(c.text);
}

TEST(WordFormsTest, BaseFormsStartWithTheWordAndFollowDetachmentRules)
{
    const struct
    {
        QByteArray word;
        QByteArray expected;
    } cases[] = {
        {"passports", "passport"}, {"boxes", "box"},     {"codes", "code"},
        {"driver's", "driver"},    {"cycling", "cycle"}, {"parties", "party"},
        {"women", "woman"},        {"closed", "close"},  {"larger", "large"},
    };
    for (const auto &c : cases) {
        const QList<QByteArray> forms = WordForms::baseForms(c.word);
        ASSERT_FALSE(forms.isEmpty());
        EXPECT_EQ(forms.first(), c.word);
        EXPECT_TRUE(forms.contains(c.expected)) << c.word.constData();
    }
    EXPECT_EQ(WordForms::baseForms("is"), QList<QByteArray> {"is"}); // too short to detach
}

TEST(WordFormsTest, OneEditAwayGroupsTyposFromLikeliestToLeast)
{
    const QList<QList<QByteArray>> kinds = WordForms::oneEditAway("adress");
    ASSERT_EQ(kinds.size(), 6);
    // A letter typed twice comes before a mistyped one: "hullu" is "hulu", not "hullo".
    const QByteArray expected[] = {"address", "daress", "adres", "adrwess", "adrwss", "dress"};
    for (int kind = 0; kind < 6; ++kind) {
        EXPECT_TRUE(kinds[kind].contains(expected[kind])) << kind;
        EXPECT_FALSE(kinds[kind].contains("adress")) << kind;
        for (int other = 0; other < kind; ++other)
            EXPECT_FALSE(kinds[other].contains(expected[kind])) << other;
    }
}

} // namespace
