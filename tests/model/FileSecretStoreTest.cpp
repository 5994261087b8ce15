// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "model/secrets/FileSecretStore.h"
#include "model/secrets/PrivateFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kService = "com.qorvastine.binzo.secrets";

// The value read, absent for anything but a found item.
std::optional<QByteArray> valueOf(const SecretResult &result)
{
    return result.done() ? std::optional(result.value) : std::nullopt;
}

struct FileSecretStoreTest : ::testing::Test
{
    QTemporaryDir dir;
    QString folder = dir.filePath("binzo");
    FileSecretStore store {folder};
};

TEST_F(FileSecretStoreTest, WriteReplaceReadRemove)
{
    const QByteArray value
        = QString::fromUtf8("P\u00e4ssw\u00f6rt \U0001F511 \u6f22\u5b57").toUtf8();
    EXPECT_EQ(store.read(kService, "A").status, SecretResult::Status::Missing);
    EXPECT_TRUE(store.remove(kService, "A").done()); // nothing there is fine

    ASSERT_TRUE(store.write(kService, "A", {}, "first").done());
    ASSERT_TRUE(store.write(kService, "A", {}, value).done());
    ASSERT_TRUE(store.write(kService, "B", {}, "").done());
    ASSERT_TRUE(store.write("other.service", "A", {}, "elsewhere").done());

    FileSecretStore reopened(folder);
    EXPECT_EQ(valueOf(reopened.read(kService, "A")), value);
    EXPECT_EQ(valueOf(reopened.read(kService, "B")), QByteArray(""));
    EXPECT_EQ(valueOf(reopened.read("other.service", "A")), "elsewhere");

    EXPECT_TRUE(reopened.remove(kService, "A").done());
    EXPECT_EQ(valueOf(store.read(kService, "A")), std::nullopt);
    EXPECT_EQ(valueOf(store.read("other.service", "A")), "elsewhere");
}

// Every write seals afresh: the same value twice gives two nonces.
TEST_F(FileSecretStoreTest, FilesArePrivateAndHoldNoPlaintext)
{
    QByteArray sealed[2];
    for (QByteArray &file : sealed) {
        ASSERT_TRUE(store.write(kService, "ACCOUNT-NAME-1", {}, "correct horse battery").done());
        file = fileContents(store.sealedFilePath());
    }
    ASSERT_EQ(sealed[0].size(), sealed[1].size());
    EXPECT_NE(sealed[0].mid(16, 24), sealed[1].mid(16, 24));
    EXPECT_EQ(fileMode(folder), 0700);
    EXPECT_EQ(fileMode(store.sealedFilePath()), 0600);
    EXPECT_EQ(fileMode(store.keyFilePath()), 0600);
    EXPECT_EQ(fileContents(store.keyFilePath()).size(), 32);
    QDirIterator files(folder, QDir::Files);
    while (files.hasNext()) {
        const QByteArray bytes = fileContents(files.next());
        EXPECT_FALSE(bytes.contains("horse battery")) << qPrintable(files.filePath());
        EXPECT_FALSE(bytes.contains("ACCOUNT-NAME")) << qPrintable(files.filePath());
    }
}

// A file that does not open is reported and never replaced, so nothing is lost for good.
TEST_F(FileSecretStoreTest, DamagedFilesAreErrorsAndStayUntouched)
{
    const struct
    {
        const char *name;
        std::function<void(FileSecretStore &)> damage;
    } cases[] = {
        {"flipped ciphertext byte",
         [](FileSecretStore &s) {
             QByteArray bytes = fileContents(s.sealedFilePath());
             bytes[bytes.size() - 20] ^= 1;
             writeFile(s.sealedFilePath(), bytes);
         }},
        {"changed header",
         [](FileSecretStore &s) {
             QByteArray bytes = fileContents(s.sealedFilePath());
             bytes[15] = 2;
             writeFile(s.sealedFilePath(), bytes);
         }},
        {"truncated file",
         [](FileSecretStore &s) {
             writeFile(s.sealedFilePath(), fileContents(s.sealedFilePath()).left(30));
         }},
        {"another key",
         [](FileSecretStore &s) { writeFile(s.keyFilePath(), QByteArray(32, 'k')); }},
        {"short key", [](FileSecretStore &s) { writeFile(s.keyFilePath(), QByteArray(31, 'k')); }},
        {"missing key", [](FileSecretStore &s) { QFile::remove(s.keyFilePath()); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(folder).removeRecursively();
        ASSERT_TRUE(store.write(kService, "A", {}, "kept").done());
        c.damage(store);
        const QByteArray sealed = fileContents(store.sealedFilePath());
        const QByteArray key = fileContents(store.keyFilePath());

        // Failed, not Missing: the value exists but cannot be had.
        for (const SecretResult &result :
             {store.read(kService, "A"), store.write(kService, "B", {}, "new"),
              store.remove(kService, "A")}) {
            EXPECT_EQ(result.status, SecretResult::Status::Failed);
            EXPECT_FALSE(result.error.isEmpty());
        }
        EXPECT_EQ(fileContents(store.sealedFilePath()), sealed);
        EXPECT_EQ(fileContents(store.keyFilePath()), key);
    }
}

TEST_F(FileSecretStoreTest, ConcurrentWritersLoseNothing)
{
    constexpr int kWriters = 3;
    constexpr int kEach = 25;
    QProcess writers[kWriters];
    for (int i = 0; i < kWriters; ++i) {
        writers[i].start(
            MODEL_TEST_HELPER,
            {"write-secrets", folder, QStringLiteral("w%1-").arg(i), QString::number(kEach)});
    }
    for (QProcess &writer : writers) {
        ASSERT_TRUE(writer.waitForFinished(60000));
        EXPECT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().constData();
    }
    for (int i = 0; i < kWriters; ++i) {
        for (int n = 0; n < kEach; ++n) {
            EXPECT_EQ(valueOf(store.read("service", QStringLiteral("w%1-%2").arg(i).arg(n))),
                      QByteArray::number(n));
        }
    }
    // No temporary files are left behind.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 3);
}

// A write killed midway leaves a full sealed copy beside the key; it goes at the next start,
// unless another process is writing at that moment.
TEST_F(FileSecretStoreTest, InterruptedWriteLeftoverGoesAtStart)
{
    ASSERT_TRUE(store.write(kService, "A", {}, "kept").done());
    const QString leftover = store.sealedFilePath() + ".Xa1b2C";
    for (const bool otherWriter : {true, false}) {
        SCOPED_TRACE(otherWriter ? "another writer busy" : "no other writer");
        QFile::copy(store.sealedFilePath(), leftover);
        {
            std::optional<PrivateFile::Lock> writing;
            if (otherWriter)
                writing.emplace(folder + "/secrets.lock", 0);
            FileSecretStore restarted(folder);
            EXPECT_EQ(QFile::exists(leftover), otherWriter);
            EXPECT_EQ(valueOf(restarted.read(kService, "A")), "kept");
        }
    }
}

} // namespace
