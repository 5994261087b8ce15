// SPDX-License-Identifier: GPL-3.0-or-later
// Test helper for the desktop scenarios: fills the store of the current XDG folders with a
// few entries (one sensitive, kept in the real keyring) and marks the tour as seen. Exits
// with 3 when only the sensitive entry could not be stored (no usable secret store).
//   seed_vault [--many-binzos]   (--many-binzos: four more binzos with long names, seven in all)
#include "model/Preferences.h"
#include "model/store/DataController.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    DataController &store = DataController::shared();
    if (argc == 2 && qstrcmp(argv[1], "--many-binzos") == 0) {
        store.addBinzo(QStringLiteral("Insurance & Health"), QStringLiteral("star.fill"),
                       QStringLiteral("F46BC0"));
        store.addBinzo(QStringLiteral("Travel documents and passports"), QStringLiteral("globe"),
                       QStringLiteral("F4B26B"));
        store.addBinzo(QStringLiteral("Home server"), QStringLiteral("house.fill"),
                       QStringLiteral("5FC9C9"));
        store.addBinzo(QStringLiteral("Kids' school accounts and portals"),
                       QStringLiteral("briefcase.fill"), QStringLiteral("8A93A6"));
    }
    struct Seed
    {
        const char *binzo;
        const char *label;
        const char *value;
        bool isSensitive;
    };
    const Seed seeds[] = {
        {"Personal", "Phone", "+41 79 555 01 23", false},
        {"Personal", "Email", "ada@example.org", false},
        {"API Keys", "Stripe secret key", "sk_live_51HxTestOnly", true},
        {"Bank", "IBAN", "CH93 0076 2011 6238 5295 7", false},
    };
    bool secretStored = true;
    for (const Seed &seed : seeds) {
        Binzo *binzo = store.binzo(QString::fromUtf8(seed.binzo));
        Entry *added = nullptr;
        bool answered = false;
        QEventLoop stored;
        store.addEntry(binzo, seed.label, seed.value, seed.isSensitive,
                       [&](const Result<Entry *> &entry) {
                           added = entry ? *entry : nullptr;
                           answered = true;
                           stored.quit();
                       });
        if (!answered)
            stored.exec();
        if (added)
            continue;
        std::fprintf(stderr, "seed_vault: cannot add %s\n", seed.label);
        if (!seed.isSensitive)
            return 1;
        secretStored = false;
    }
    Preferences::shared().setBoolean(QStringLiteral("binzo.hasOnboarded"), true);
    if (!store.save())
        return 1;
    return secretStored ? 0 : 3;
}
