// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/secrets/SecretBackendChoice.h"
#include "model/Preferences.h"
#include "model/secrets/FileSecretStore.h"
#include "model/secrets/SecretServiceStore.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct SecretBackendChoiceTest : ::testing::Test
{
    QTemporaryDir dir;
    Preferences preferences {dir.filePath("preferences.json")};
    QString error;

    std::unique_ptr<SecretBackend> choose()
    {
        return SecretBackendChoice::create(preferences, dir.filePath("data"), &error);
    }
};

// Without a session bus the secret service cannot be reached.
struct NoSessionBus
{
    QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    NoSessionBus()
    {
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        qputenv("XDG_RUNTIME_DIR", "/nonexistent");
    }
    ~NoSessionBus()
    {
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        qputenv("XDG_RUNTIME_DIR", runtime);
    }
};

TEST_F(SecretBackendChoiceTest, RememberedChoiceIsUsedWithoutProbing)
{
    NoSessionBus noBus;
    preferences.setString("binzo.secretBackend", "secret-service");
    auto backend = choose();
    EXPECT_NE(dynamic_cast<SecretServiceStore *>(backend.get()), nullptr);
    // The remembered store failing is an error, not a switch to the file.
    EXPECT_FALSE(backend->write("service", "account", "value"));
    EXPECT_FALSE(backend->lastError().isEmpty());
    EXPECT_EQ(backend->read("service", "account"), std::nullopt);
    EXPECT_FALSE(backend->lastError().isEmpty());

    preferences.setString("binzo.secretBackend", "file");
    EXPECT_NE(dynamic_cast<FileSecretStore *>(choose().get()), nullptr);

    // An unknown name is chosen over as at a first use, and left for the user to correct.
    preferences.setString("binzo.secretBackend", "vault");
    EXPECT_EQ(SecretBackendChoice::unknownChoice(preferences), "vault");
    EXPECT_NE(dynamic_cast<FileSecretStore *>(choose().get()), nullptr);
    EXPECT_TRUE(error.contains("vault"));
    EXPECT_EQ(preferences.string("binzo.secretBackend"), "vault");
}

TEST_F(SecretBackendChoiceTest, WithoutASecretServiceTheFileIsChosenOnce)
{
    NoSessionBus noBus;
    auto backend = choose();
    EXPECT_NE(dynamic_cast<FileSecretStore *>(backend.get()), nullptr);
    EXPECT_EQ(preferences.string("binzo.secretBackend"), "file");
}

} // namespace
