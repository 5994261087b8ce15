// SPDX-License-Identifier: GPL-3.0-or-later
#include "../model/TwoSecretStores.h"

#include "appearance/SecretStoreSettings.h"

namespace {

TEST_F(TwoSecretStoresTest, SettingsShowWhereValuesLiveAndHowAMoveGoes)
{
    SecretStoreSettings settings(*store, KeychainStore::shared());
    settleSecretCalls();
    EXPECT_EQ(settings.statusText(), "Sensitive values are kept in: System keyring");
    settings.moveTo("file");
    EXPECT_TRUE(settings.isMoving());
    settleSecretCalls();
    EXPECT_FALSE(settings.isMoving());
    EXPECT_FALSE(settings.failed());
    EXPECT_EQ(settings.storeName(), "file");
    EXPECT_EQ(settings.statusText(),
              "Sensitive values are kept in: Encrypted file on this computer");

    keyring.setFailWrites(true);
    settings.moveTo("secret-service");
    settleSecretCalls();
    EXPECT_TRUE(settings.failed());
    EXPECT_TRUE(settings.statusText().startsWith("Nothing was moved: couldn't write"))
        << qPrintable(settings.statusText());
    EXPECT_EQ(settings.storeName(), "file");
}

} // namespace
