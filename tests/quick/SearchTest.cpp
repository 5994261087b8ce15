// SPDX-License-Identifier: GPL-3.0-or-later
#include "quick/Search.h"
#include "model/records/Binzo.h"
#include "model/records/Entry.h"
#include "smartfind/EmbeddingModel.h"
#include "smartfind/SemanticSearch.h"

#include "../smartfind/TestModel.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Search over literal matching alone.
class SearchWithoutModelTest : public ::testing::Test
{
protected:
    void SetUp() override { SemanticSearch::shared().setEmbedding(nullptr); }

    Entry *add(const QString &label, const Binzo &binzo, const QDateTime &lastUsedAt = {})
    {
        Entry::Fields fields;
        fields.id = QUuid::createUuid();
        fields.label = label;
        fields.binzoID = binzo.id();
        fields.lastUsedAt = lastUsedAt;
        m_owned.push_back(std::make_unique<Entry>(fields));
        m_all.append(m_owned.back().get());
        return m_owned.back().get();
    }

    QStringList labels(const QList<Entry *> &entries) const
    {
        QStringList result;
        for (const Entry *entry : entries)
            result.append(entry->label());
        return result;
    }

    QStringList visible(const QString &search, const Binzo *current = nullptr) const
    {
        return labels(Search::visibleEntries(SemanticSearch::shared(), search, current, m_all));
    }

    Binzo m_personal {"Personal", "person", "6385F4", 0, {}};
    Binzo m_keys {"API Keys", "key", "E0A030", 1, {}};
    QList<Entry *> m_all;
    std::vector<std::unique_ptr<Entry>> m_owned;
};

// Labels holding the query, in any binzo and any letter case (lower-casing only, no folding),
// those starting with it first; when none holds it, the first five in store order.
TEST_F(SearchWithoutModelTest, LabelsHoldingTheQueryComeFirstElseTheFirstFive)
{
    const QString head = QString(Search::kMaxQueryLength - 4, QLatin1Char('x')) + "code";
    const QStringList firstFive {"digits", "Pin", "GitHub token", "legit", "Work phone"};
    for (const QString &label : firstFive)
        add(label, m_personal);
    for (const QString &label :
         {QString("Phone API key"), QString::fromUtf8("Stra\u00dfe"),
          QString::fromUtf8("Caf\u00e9"), "door " + head + " and more", QString("door code")})
        add(label, m_keys);
    const struct
    {
        QString query;
        QStringList shown;
    } cases[] = {
        {"git", {"GitHub token", "digits", "legit"}},
        {" \tgit\t ", {"GitHub token", "digits", "legit"}},
        {"phone", {"Phone API key", "Work phone"}},
        {QString::fromUtf8("STRA\u1e9eE"), {QString::fromUtf8("Stra\u00dfe")}},
        {"STRASSE", firstFive},
        {QString::fromUtf8("CAF\u00c9"), {QString::fromUtf8("Caf\u00e9")}},
        {"cafe", firstFive},
        {"zzz", firstFive},
        {"a\n", firstFive}, // a line break is part of the query, so nothing holds it
        {head + QString(10000, QLatin1Char('y')), {"door " + head + " and more"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(visible(c.query, &m_personal), c.shown) << qPrintable(c.query.left(20));
}

TEST_F(SearchWithoutModelTest, EmptyQueryListsCurrentBinzoByLastUse)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    add("never b", m_personal);
    add("yesterday", m_personal, now.addDays(-1));
    add("Never A", m_personal);
    add("other binzo", m_keys, now);
    add("a minute ago", m_personal, now.addSecs(-60));
    add("never c", m_personal);
    add("same instant z", m_personal, now.addDays(-1));
    const QStringList expected {"a minute ago", "same instant z", "yesterday",
                                "Never A",      "never b",        "never c"};
    EXPECT_EQ(visible("", &m_personal), expected);
    EXPECT_EQ(visible("  \t ", &m_personal), expected);
    EXPECT_TRUE(visible("", nullptr).isEmpty());
    EXPECT_TRUE(labels(Search::entries(nullptr, m_all)).isEmpty());
}

// Keystrokes reuse what the previous pass found for the same list; any change to the list,
// its order or a label must still score every entry by its own current label.
TEST_F(SearchWithoutModelTest, ListChangesBetweenKeystrokesAreFollowed)
{
    add("Phone", m_personal);
    Entry *plate = add("Car plate", m_personal);
    EXPECT_EQ(visible("p"), QStringList({"Phone", "Car plate"}));

    std::swap(m_all[0], m_all[1]);
    EXPECT_EQ(visible("p"), QStringList({"Phone", "Car plate"}));
    plate->setLabel("Plate");
    EXPECT_EQ(visible("p"), QStringList({"Plate", "Phone"})); // equal scores keep list order

    m_all.removeOne(plate);
    m_owned.erase(m_owned.begin() + 1);
    add("Passport", m_personal); // may reuse the destroyed entry's address
    EXPECT_EQ(visible("pa"), QStringList({"Passport"}));
    EXPECT_EQ(visible("ph"), QStringList({"Phone"}));
}

// Smart find with this build's model.
class SearchWithModelTest : public SearchWithoutModelTest
{
protected:
    void SetUp() override
    {
        if (!testModelPath().isEmpty())
            SemanticSearch::shared().setEmbedding(EmbeddingModel::open(testModelPath()));
        if (!SemanticSearch::shared().embedding())
            GTEST_SKIP() << "this build has no smart-find model";
        for (const char *label :
             {"Mobile number", "Home address", "Wi-Fi password", "Work email", "IBAN",
              "Passport number", "Tax ID", "GitHub token", "Car plate", "Mom's phone",
              "Office door code", "Credit card PIN", "Birthday", "Blood type", "Netflix login"})
            add(label, m_personal);
    }
    void TearDown() override { SemanticSearch::shared().setEmbedding(nullptr); }
};

// A brand is found by what it is, yet a label holding the query itself still comes first.
TEST_F(SearchWithModelTest, BrandsAreFoundByWhatTheyAreAfterLabelsHoldingTheQuery)
{
    for (const char *label :
         {"Barclays login", "Ryanair booking", "Tesco Clubcard", "Bank holiday rota"})
        add(label, m_personal);
    const struct
    {
        const char *query;
        const char *first;
        const char *found;
    } cases[] = {
        {"bank", "Bank holiday rota", "Barclays login"},
        {"airline", "Ryanair booking", "Ryanair booking"},
        {"supermarket", "Tesco Clubcard", "Tesco Clubcard"},
    };
    for (const auto &c : cases) {
        const QStringList shown = visible(c.query);
        ASSERT_FALSE(shown.isEmpty()) << c.query;
        EXPECT_EQ(shown.first(), c.first) << c.query;
        EXPECT_TRUE(shown.contains(c.found)) << c.query << ": " << qPrintable(shown.join(", "));
    }
}

// Without a label holding the query, a lone wrong near match must not hide the rest: the five
// best show, and only a query without any near match says it found nothing.
TEST_F(SearchWithModelTest, QueryNoLabelHoldsShowsTheFiveBest)
{
    const struct
    {
        const char *query;
        bool closestOnly;
    } cases[] = {{"zzzzqqqq", true}, {"telephone", false}};
    for (const auto &c : cases) {
        bool closestOnly = !c.closestOnly;
        const QList<Entry *> shown = Search::visibleEntries(SemanticSearch::shared(), c.query,
                                                            nullptr, m_all, &closestOnly);
        EXPECT_EQ(shown.size(), 5) << c.query;
        EXPECT_EQ(closestOnly, c.closestOnly) << c.query;
        for (qsizetype i = 1; i < shown.size(); ++i)
            EXPECT_GE(Search::score(SemanticSearch::shared(), *shown[i - 1], c.query),
                      Search::score(SemanticSearch::shared(), *shown[i], c.query));
    }
}

} // namespace
