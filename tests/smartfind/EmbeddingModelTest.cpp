// SPDX-License-Identifier: GPL-3.0-or-later
#include "smartfind/EmbeddingModel.h"
#include "smartfind/ModelFormat.h"

#include "TestModel.h"
#include "TinyModel.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

namespace {

std::unique_ptr<EmbeddingModel> builtModel()
{
    return testModelPath().isEmpty() ? nullptr : EmbeddingModel::open(testModelPath());
}

QByteArray builtModelBytes()
{
    QFile file(testModelPath());
    if (!testModelPath().isEmpty() && file.open(QIODevice::ReadOnly))
        return file.readAll();
    return {};
}

TEST(EmbeddingModelTest, UnusableFilesAreRefusedWithAReason)
{
    QTemporaryDir dir;
    const auto write = [&dir](const QString &name, const QByteArray &bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    ModelFormat::Header header {};
    std::memcpy(header.magic, ModelFormat::kMagic, sizeof header.magic);
    header.version = ModelFormat::kVersion;
    header.semanticDims = 4;
    header.trigramDims = 4;
    header.wordCount = 1000; // far more than the file holds
    const QByteArray headerOnly(reinterpret_cast<const char *>(&header), sizeof header);

    const struct
    {
        const char *why;
        QString path;
        const char *reason;
    } cases[] = {
        {"missing", dir.filePath("absent.model"), "absent.model"},
        {"empty", write("empty.model", {}), "too short"},
        {"not a model", write("text.model", QByteArray(200, 'x')), "not a smart-find model"},
        {"truncated", write("short.model", headerOnly), "damaged model"},
    };
    for (const auto &c : cases) {
        QString error;
        EXPECT_EQ(EmbeddingModel::open(c.path, &error), nullptr) << c.why;
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << c.why << ": " << qPrintable(error);
    }

    const QByteArray built = builtModelBytes();
    if (!built.isEmpty()) {
        QString error;
        const QString cut = write("cut.model", built.left(built.size() - 1));
        EXPECT_EQ(EmbeddingModel::open(cut, &error), nullptr);
        EXPECT_TRUE(error.contains(QLatin1String("damaged model"))) << qPrintable(error);
    }
}

TEST(EmbeddingModelTest, DamagedFieldsAreRefusedNamingTheFault)
{
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    const struct
    {
        const char *why;
        std::function<void(TinyModel &)> damage;
        const char *reason;
    } cases[] = {
        {"no meaning dimensions", [](TinyModel &m) { m.header.semanticDims = 0; }, "semanticDims"},
        {"a changed trigram byte", [](TinyModel &m) { m.header.trigramDims = 4u << 20; },
         "trigramDims"},
        {"no trigram dimensions", [](TinyModel &m) { m.header.trigramDims = 0; }, "trigramDims"},
        // 2^31 x 2^31 x 4 bytes wraps to 0 in 64 bits.
        {"a size product that wraps",
         [](TinyModel &m) { m.header.semanticDims = m.header.commonCount = 1u << 31; },
         "semanticDims"},
        {"more common directions than dimensions", [](TinyModel &m) { m.header.commonCount = 5; },
         "commonCount"},
        {"a word count beyond any vocabulary", [](TinyModel &m) { m.header.wordCount = ~0u; },
         "wordCount"},
        {"a row count beyond any vocabulary", [](TinyModel &m) { m.header.rowCount = 1u << 30; },
         "rowCount"},
        {"one word more than the file holds", [](TinyModel &m) { m.header.wordCount = 5; },
         "damaged model ("},
        {"two rows more than the file holds", [](TinyModel &m) { m.header.rowCount = 5; },
         "damaged model ("},
        {"strings reaching to the end of memory",
         [](TinyModel &m) { m.header.stringBytes = ~uint64_t(0); }, "damaged model ("},
        {"no phrase length", [](TinyModel &m) { m.header.maxPhraseWords = 0; }, "maxPhraseWords"},
        {"endless phrases", [](TinyModel &m) { m.header.maxPhraseWords = ~0u; }, "maxPhraseWords"},
        {"a share that is not a number", [](TinyModel &m) { m.header.trigramShare = kNaN; },
         "trigramShare"},
        {"an infinite weight", [](TinyModel &m) { m.header.unknownWeight = kInfinity; },
         "unknownWeight"},
        {"a floor that divides by zero", [](TinyModel &m) { m.header.cosineFloor = 1.0f; },
         "cosineFloor"},
        {"a cover that is not a number", [](TinyModel &m) { m.header.coverWeight = kNaN; },
         "coverWeight"},
        {"described rows beyond any vocabulary",
         [](TinyModel &m) { m.header.describedCount = ~0u; }, "describedCount"},
        {"described rows the file lacks", [](TinyModel &m) { m.header.describedCount = 3; },
         "damaged model ("},
        {"described rows that end before they begin", [](TinyModel &m) { m.describedFrom[1] = 1; },
         "end before they begin"},
        {"described rows that stop short",
         [](TinyModel &m) { m.describedFrom[3] = m.describedFrom[4] = 0; }, "end at 0 of 1"},
        {"a word naming a missing row", [](TinyModel &m) { m.words[1].row = 3; }, "names row"},
        {"a word beyond the strings", [](TinyModel &m) { m.words[0].stringOffset = ~0u - 2; },
         "outside the strings"},
        {"a weight that is not a number", [](TinyModel &m) { m.words[2].weight = kNaN; }, "weight"},
        {"words out of order", [](TinyModel &m) { std::swap(m.words[0], m.words[2]); },
         "out of order"},
        {"an infinite scale", [](TinyModel &m) { m.scales[1] = kInfinity; }, "not a number"},
        {"a common direction that is not a number", [](TinyModel &m) { m.common[3] = kNaN; },
         "not a number"},
    };
    ASSERT_NE(EmbeddingModel::fromBytes(TinyModel().bytes()), nullptr);
    for (const auto &c : cases) {
        TinyModel model;
        c.damage(model);
        QString error;
        EXPECT_EQ(EmbeddingModel::fromBytes(model.bytes(), &error), nullptr) << c.why;
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << c.why << ": " << qPrintable(error);
    }
}

TEST(EmbeddingModelTest, OnlyTheFirstCharactersOfALongTextCount)
{
    const std::unique_ptr<EmbeddingModel> model = EmbeddingModel::fromBytes(TinyModel().bytes());
    ASSERT_NE(model, nullptr);
    const QString head
        = QStringLiteral("home adress ").repeated(30).left(EmbeddingModel::kMaxTextLength);
    const QString pasted = head + QStringLiteral("passport ").repeated(2000);
    const EmbeddingModel::Vector expected = model->vector(head);
    ASSERT_GT(expected.norm, 0);
    EXPECT_EQ(model->vector(pasted).components, expected.components);
    // One word of ten thousand letters is no misspelling of anything.
    EXPECT_GT(model->vector(QString(10000, QLatin1Char('a'))).norm, 0);
}

class BuiltModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_model = builtModel();
        if (!m_model)
            GTEST_SKIP() << "this build has no smart-find model";
    }
    double distance(const char *a, const char *b) const
    {
        return m_model->distance(QString::fromUtf8(a), QString::fromUtf8(b));
    }
    std::unique_ptr<EmbeddingModel> m_model;
};

TEST_F(BuiltModelTest, DistanceStaysInRangeAndIsZeroForTheSameText)
{
    const char *texts[] = {"phone", "passport number", "", "   ", "wi-fi", "123 456", "café"};
    for (const char *a : texts) {
        for (const char *b : texts) {
            const double d = distance(a, b);
            EXPECT_GE(d, 0.0) << a << " / " << b;
            EXPECT_LE(d, 2.0) << a << " / " << b;
        }
    }
    EXPECT_NEAR(distance("home address", "home address"), 0.0, 1e-5);
    EXPECT_NEAR(distance("Home Address", "home address"), 0.0, 1e-5);
}

TEST_F(BuiltModelTest, RelatedMeaningsAreCloserThanUnrelatedOnes)
{
    const struct
    {
        const char *query;
        const char *related;
        const char *unrelated;
    } cases[] = {
        {"telephone", "phone", "volcano"}, // synonyms from WordNet
        {"automobile", "car plate", "blood type"}, // a word and a phrase
        {"wifi", "wireless network", "tax office"}, // glossary vocabulary
        {"automatic teller", "credit card pin", "passport number"}, // a glossary term's synonym
        {"gateway", "router admin", "admin page"}, // a glossary phrase keeps its own words
        {"passports", "passport number", "gym membership"}, // plural form
        {"pasport", "passport number", "alarm code"}, // one-letter typo
        {"adress", "home address", "credit card"}, // missing double letter
        {"mother's phone", "mom", "router"}, // possessive
    };
    for (const auto &c : cases)
        EXPECT_LT(distance(c.query, c.related), distance(c.query, c.unrelated)) << c.query;
}

// Labels name brands and services; people search for what they are. An unrelated text must
// not come near enough to be listed (similarity over 0.62, a distance under 0.76).
TEST_F(BuiltModelTest, BrandsLandNearWhatTheyAreAndUnrelatedTextsStayAway)
{
    struct Case
    {
        const char *brand;
        const char *whatItIs;
        const char *unrelated;
    };
    std::vector<Case> cases = {
        {"barclays", "bank", "cheap flights"},
        {"ryanair", "flight booking", "bank account"},
        {"vodafone", "mobile phone contract", "hotel"},
        {"netflix", "films", "electricity"},
        {"tesco", "supermarket", "tax return"},
        {"hmrc", "tax", "holiday"},
        {"current account", "checking account", "volcano"}, // British and American words
    };
#ifdef BINZO_TEST_MODEL_HAS_GLOVE
    // Named by no vocabulary: placed among their GloVe neighbours.
    cases.push_back({"wachovia", "bank", "airline"});
    cases.push_back({"aeroflot", "airline", "bank"});
#endif
    for (const Case &c : cases) {
        EXPECT_LT(distance(c.brand, c.whatItIs), distance(c.brand, c.unrelated)) << c.brand;
        EXPECT_GE(distance(c.brand, c.unrelated), EmbeddingModel::kNearMatchDistance) << c.brand;
    }
}

// A label of several words answers a query about any one of them, though its other words
// pull its whole meaning elsewhere, and a query about what its terms are described as.
TEST_F(BuiltModelTest, ALabelAnswersForEachOfItsWordsAndWhatTheyAre)
{
    const struct
    {
        const char *query;
        const char *label;
        const char *unrelated;
    } cases[] = {
        {"power bill", "Toronto Hydro",
         "Home Wi-Fi password"}, // measured whole, Toronto outweighs hydro
        {"bicycle", "Bike lock combo", "Car plate"},
        // Their vectors alone put the unrelated label closer.
        {"internet provider", "Spectrum account no.", "Eero admin"},
        {"hardware wallet", "Ledger seed words", "AWS access key"},
        // Known only as "lime scooter" and "lime app", described as hiring "scooters".
        {"scooter hire", "Lime account", "Tesco account"},
        {"electric scooter", "Lime account", "Octopus Energy account"},
        // Named by a dozen qualified entries, energy suppliers in several countries among them.
        {"energy supplier", "Octopus acc no.", "Monzo acc no."},
        // Common words begin brands ("no claims bonus", "six flags") but in labels mean
        // themselves.
        {"tax number", "My IRD no.", "ANZ mortgage no."},
        {"theme park", "Zoo pass", "Six digit PIN"},
        // Both hold the query; only the first does the query's descriptions hold in turn.
        {"gp", "Dr. Rao family doc", "Dentist"},
        {"icloud", "Apple ID", "Google Workspace admin"},
        // "no." in a label is a number, not the word no.
        {"national insurance", "NI no.", "HMRC UTR"},
        // A first name is a person, whom people search for by who they are.
        {"husband phone", "Craig mob", "Mum landline"},
        {"daughter's passport", "Priya passport", "My passport no."},
    };
    for (const auto &c : cases) {
        EXPECT_LT(m_model->labelDistance(c.query, c.label),
                  m_model->labelDistance(c.query, c.unrelated))
            << c.query;
    }
    // Held back from the near matches, more of the query held still ranks first.
    const double moreHeld = m_model->labelDistance(0.9, 0.9, {0.6, 0});
    const double lessHeld = m_model->labelDistance(0.9, 0.9, {0.5, 0});
    EXPECT_LT(moreHeld, lessHeld);
    EXPECT_GT(moreHeld, EmbeddingModel::kNearMatchDistance);
    // Held both ways with close vectors, a label still stays short of a strong match.
    EXPECT_GT(m_model->labelDistance(0.4, 0.4, {1, 1}), 0.0);
    // Most of the query held outranks a vector only somewhat close, however far its own lies.
    EXPECT_LT(m_model->labelDistance(1.9, 1.9, {0.9, 0}), m_model->labelDistance(0.85, 0.85, {}));
    // A word that hundreds of brands' descriptions use still describes each of them.
    EXPECT_LT(m_model->labelDistance("shop loyalty", "Boots Advantage"),
              EmbeddingModel::kNearMatchDistance);
    // Two words written as one, which alone the model knows only by its letters.
    EXPECT_LT(m_model->labelDistance("dogwalker", "Dog walker Sam"),
              EmbeddingModel::kNearMatchDistance);
}

} // namespace
