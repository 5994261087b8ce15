// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/records/Binzo.h"
#include "model/records/Entry.h"
#include "smartfind/SemanticSearch.h"

#include "TestModel.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Labels embedded ahead of the first query, on the worker: prepare() returns at once and the
// vectors arrive through the event loop, each for the text its label has by then.
class LabelEmbeddingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!testModelPath().isEmpty())
            m_model = EmbeddingModel::open(testModelPath());
        if (!m_model)
            GTEST_SKIP() << "this build has no smart-find model";
        search().setEmbedding(EmbeddingModel::open(testModelPath()));
        for (const char *label :
             {"Barclays login", "Home address", "Wi-Fi password", "Car plate", "Home Wi-Fi",
              "Lime account", "Dogwalker Sam", "NI no.", "Dr. Rao family doc"})
            add(label);
    }
    void TearDown() override { search().setEmbedding(nullptr); }

    static SemanticSearch &search() { return SemanticSearch::shared(); }
    Entry *add(const QString &label)
    {
        m_owned.push_back(std::make_unique<Entry>(label, false, m_binzo, QDateTime()));
        m_all.append(m_owned.back().get());
        return m_owned.back().get();
    }
    bool allEmbedded() const
    {
        return std::all_of(m_all.begin(), m_all.end(),
                           [](const Entry *entry) { return search().isEmbedded(*entry); });
    }
    // Runs the event loop until every label has its vector; false after ten seconds.
    bool waitUntilEmbedded() const
    {
        const QDeadlineTimer deadline(10000);
        while (!allEmbedded() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return allEmbedded();
    }
    // What a keystroke finds for `query` must be what the model says of each current label.
    void expectDistancesOfCurrentLabels(const QString &query) const
    {
        const auto &matches = search().match(query, m_all);
        ASSERT_EQ(matches.size(), size_t(m_all.size()));
        for (qsizetype i = 0; i < m_all.size(); ++i) {
            const QString label = m_all[i]->label().toLower();
            EXPECT_NEAR(*matches[size_t(i)].distance, m_model->labelDistance(query, label), 1e-9)
                << qPrintable(label);
        }
    }

    std::unique_ptr<EmbeddingModel> m_model;
    Binzo m_binzo {"Personal", "person", "6385F4", 0, {}};
    std::vector<std::unique_ptr<Entry>> m_owned;
    QList<Entry *> m_all;
};

TEST_F(LabelEmbeddingTest, LabelsAreEmbeddedOffTheCallersThreadBeforeTheFirstQuery)
{
    search().prepare(m_all);
    for (const Entry *entry : m_all)
        EXPECT_FALSE(search().isEmbedded(*entry)) << "embedded by the caller";
    ASSERT_TRUE(waitUntilEmbedded());
    // Labels share words, each measured once per query: the next query measures them again.
    expectDistancesOfCurrentLabels("bank");
    expectDistancesOfCurrentLabels("house");
    expectDistancesOfCurrentLabels("scooter hire");
    expectDistancesOfCurrentLabels("gp"); // held both ways
    // A query respelled after a label reads as what it stands for, its "no." still a number.
    EXPECT_NEAR(*search().match("barclys no. 2", m_all).front().distance,
                m_model->labelDistance("barclays no. 2", "barclays login"), 1e-9);
}

TEST_F(LabelEmbeddingTest, ChangesWhileTheWorkerRunsKeepEveryLabelRight)
{
    search().prepare(m_all);
    m_all[0]->setLabel("Passport number"); // renamed: the worker's vector is for the old text
    m_owned[3].reset(); // deleted before its vector arrives
    m_all.removeAt(3);
    add("Doctor's phone"); // may take the deleted entry's address
    search().prepare(m_all);
    ASSERT_TRUE(waitUntilEmbedded());
    expectDistancesOfCurrentLabels("telephone");
}

TEST_F(LabelEmbeddingTest, VectorsOfAReplacedModelAreDropped)
{
    search().prepare(m_all);
    search().setEmbedding(nullptr);
    search().setEmbedding(EmbeddingModel::open(testModelPath()));
    const QDeadlineTimer deadline(500);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_FALSE(allEmbedded()) << "a vector from the replaced model was kept";
    search().prepare(m_all);
    ASSERT_TRUE(waitUntilEmbedded());
    expectDistancesOfCurrentLabels("router");
}

// People mistype the names in their own vault, which no dictionary holds.
TEST_F(LabelEmbeddingTest, AMistypedWordOfALabelIsReadAsThatWord)
{
    expectDistancesOfCurrentLabels("zorvex"); // no label holds a word like it yet
    add("Zorvix account");
    add("Member 204817");
    EXPECT_DOUBLE_EQ(*search().match("zorvex", m_all)[size_t(m_all.size()) - 2].distance,
                     m_model->labelDistance("zorvix", "zorvix account"));
    // A number is no typo of another.
    expectDistancesOfCurrentLabels("204871");
}

} // namespace
