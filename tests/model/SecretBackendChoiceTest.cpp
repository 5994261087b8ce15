// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "model/Preferences.h"
#include "model/secrets/FileSecretStore.h"
#include "model/secrets/KeychainStore.h"
#include "model/secrets/SecretBackendChoice.h"
#include "model/secrets/SecretServiceStore.h"

#include <QFile>
#include <QLocalServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A session bus that is missing, or one that takes connections and never answers (a
// desktop still starting, a hung bus): the keyring cannot be asked either way.
struct SessionBus
{
    QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    QLocalServer silent;

    explicit SessionBus(bool hung, const QString &folder)
    {
        qputenv("XDG_RUNTIME_DIR", "/nonexistent");
        if (hung && silent.listen(folder + "/bus"))
            qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + QFile::encodeName(folder + "/bus"));
        else
            qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    }
    ~SessionBus()
    {
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        qputenv("XDG_RUNTIME_DIR", runtime);
    }
};

struct SecretBackendChoiceTest : ::testing::Test
{
    QTemporaryDir dir;
    QString preferencesPath = dir.filePath("preferences.json");
    QString dataFolder = dir.filePath("data");

    void keepFileSecret()
    {
        FileSecretStore file(dataFolder);
        ASSERT_TRUE(file.write(KeychainStore::service(), "ACCOUNT", {}, "kept").done());
    }
};

// A store that holds secrets is never given up because the preference that named it is
// lost, nor a remembered one because it fails; with nothing kept yet, what the desktop
// offers decides.
TEST_F(SecretBackendChoiceTest, TheStoreThatHoldsTheSecretsIsKept)
{
    const QString none = QStringLiteral("(none)");
    const struct
    {
        const char *name;
        QByteArray preferencesFile; // empty: no file
        bool fileHoldsSecrets;
        bool busHangs;
        QString chosen; // empty: nothing can be chosen yet
        QString remembered; // none: nothing written
    } cases[] = {
        {"remembered file", R"({"binzo.secretBackend": "file"})", false, false, "file", "file"},
        {"remembered keyring, keyring gone", R"({"binzo.secretBackend": "secret-service"})", false,
         false, "secret-service", "secret-service"},
        {"damaged preferences, secrets in the file", "{\"binzo.secret", true, false, "file",
         "file"},
        // Left for the user to correct (FailureNotices tells them).
        {"unknown store, secrets in the file", R"({"binzo.secretBackend": "vault"})", true, false,
         "file", "vault"},
        {"damaged preferences, secrets in the file, bus hung", "{not json", true, true, "file",
         "file"},
        {"first start without a keyring", "", false, false, "file", none},
        {"first start, keyring does not answer", "", false, true, "", none},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        if (!c.preferencesFile.isEmpty()) {
            ASSERT_TRUE(writeFile(preferencesPath, c.preferencesFile));
        }
        if (c.fileHoldsSecrets)
            keepFileSecret();
        SessionBus bus(c.busHangs, dir.path());
        Preferences preferences(preferencesPath);
        SecretBackendChoice choice(preferences, dataFolder, KeychainStore::service(), 300);

        QString name;
        SecretResult why;
        SecretBackend *backend = choice.current(&name, &why);
        EXPECT_EQ(name, c.chosen);
        EXPECT_EQ(backend != nullptr, !c.chosen.isEmpty());
        if (!backend) {
            EXPECT_EQ(why.status, SecretResult::Status::Unknown);
            // Not pinned: the next use asks again.
            EXPECT_EQ(choice.current(&name, &why), nullptr);
        }
        EXPECT_EQ(preferences.string("binzo.secretBackend").value_or(none), c.remembered);
        if (c.fileHoldsSecrets) {
            EXPECT_EQ(backend->read(KeychainStore::service(), "ACCOUNT").value, "kept");
        }
        // A remembered keyring that fails is an error, never a quiet switch to the file.
        if (dynamic_cast<SecretServiceStore *>(backend)) {
            EXPECT_EQ(backend->write("service", "account", "label", "value").status,
                      SecretResult::Status::Failed);
            EXPECT_FALSE(QFile::exists(dataFolder + "/secrets.sealed"));
        }
    }
}

} // namespace
