// SPDX-License-Identifier: GPL-3.0-or-later
// GLib headers first: they use "signals" as a field name, which Qt defines as a macro.
#include <libsecret/secret.h>

#include "model/secrets/SecretServiceStore.h"

#include <QFileInfo>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace {

const char kSecretsBusName[] = "org.freedesktop.secrets";

const SecretSchema kSchema = {"com.qorvastine.binzo.Secret",
                              // Items are found by their attributes alone, whoever stored them.
                              SECRET_SCHEMA_DONT_MATCH_NAME,
                              {{"service", SECRET_SCHEMA_ATTRIBUTE_STRING},
                               {"account", SECRET_SCHEMA_ATTRIBUTE_STRING},
                               {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                              0,
                              nullptr,
                              nullptr,
                              nullptr,
                              nullptr,
                              nullptr,
                              nullptr,
                              nullptr};

// Runs a blocking libsecret call on its own thread and waits at most timeoutMs for it. A
// cancellable alone is not enough: an unlock prompt that nobody answers ignores it. On
// timeout the call is cancelled and left to finish on its own; it owns all it uses.
template<class Result>
std::optional<Result> runBounded(int timeoutMs, std::function<Result(GCancellable *)> call)
{
    struct Shared
    {
        GCancellable *cancellable = g_cancellable_new();
        std::mutex mutex;
        std::condition_variable finished;
        std::optional<Result> result;
        ~Shared() { g_object_unref(cancellable); }
    };
    auto shared = std::make_shared<Shared>();
    std::thread([shared, call = std::move(call)] {
        Result result = call(shared->cancellable);
        std::lock_guard lock(shared->mutex);
        shared->result = std::move(result);
        shared->finished.notify_one();
    }).detach();

    std::unique_lock lock(shared->mutex);
    if (!shared->finished.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [&] { return shared->result.has_value(); })) {
        g_cancellable_cancel(shared->cancellable);
        return std::nullopt;
    }
    return std::move(shared->result);
}

using Outcome = SecretServiceStore::Outcome;

// Takes ownership of error (which may be null).
Outcome failure(GError *error, const char *action)
{
    QString reason = QString::fromLatin1(action);
    if (error && !g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED))
        reason += QStringLiteral(": ") + QString::fromUtf8(error->message);
    if (error)
        g_error_free(error);
    return {false, std::nullopt, reason};
}

Outcome secretOf(SecretItem *item)
{
    SecretValue *secret = secret_item_get_locked(item) ? nullptr : secret_item_get_secret(item);
    if (!secret)
        return {false, std::nullopt,
                QStringLiteral("could not read the secret: the keyring is locked")};
    gsize length = 0;
    const gchar *bytes = secret_value_get(secret, &length);
    Outcome outcome {true, QByteArray(bytes, qsizetype(length)), {}};
    secret_value_unref(secret);
    return outcome;
}

struct Call
{
    GCancellable *cancellable;
    const char *service;
    const char *account;
};

// One bounded call about the item of (service, account), which it keeps alive as UTF-8.
std::optional<Outcome> callFor(const QString &service, const QString &account, int timeoutMs,
                               std::function<Outcome(const Call &)> body)
{
    return runBounded<Outcome>(
        timeoutMs,
        [service = service.toUtf8(), account = account.toUtf8(),
         body = std::move(body)](GCancellable *cancellable) {
            return body(Call {cancellable, service.constData(), account.constData()});
        });
}

// GLib would otherwise try to autolaunch a bus through X11, which can take long.
bool sessionBusConfigured()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

bool busNameReachable(GDBusConnection *bus, int timeoutMs, GCancellable *cancellable)
{
    GVariant *owned = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "NameHasOwner", g_variant_new("(s)", kSecretsBusName), G_VARIANT_TYPE("(b)"),
        G_DBUS_CALL_FLAGS_NONE, timeoutMs, cancellable, nullptr);
    if (!owned)
        return false;
    gboolean hasOwner = FALSE;
    g_variant_get(owned, "(b)", &hasOwner);
    g_variant_unref(owned);
    if (hasOwner)
        return true;

    GVariant *names = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "ListActivatableNames", nullptr, G_VARIANT_TYPE("(as)"), G_DBUS_CALL_FLAGS_NONE, timeoutMs,
        cancellable, nullptr);
    if (!names)
        return false;
    GVariantIter *iter = nullptr;
    g_variant_get(names, "(as)", &iter);
    bool activatable = false;
    const gchar *name = nullptr;
    while (!activatable && g_variant_iter_next(iter, "&s", &name))
        activatable = g_strcmp0(name, kSecretsBusName) == 0;
    g_variant_iter_free(iter);
    g_variant_unref(names);
    return activatable;
}

} // namespace

SecretServiceStore::SecretServiceStore(int timeoutMs)
    : m_timeoutMs(timeoutMs)
{ }

bool SecretServiceStore::write(const QString &service, const QString &account,
                               const QByteArray &value)
{
    return settle(callFor(service, account, m_timeoutMs,
                          [value](const Call &call) {
                              SecretValue *secret
                                  = secret_value_new(value.constData(), value.size(), "text/plain");
                              GError *error = nullptr;
                              const gboolean stored = secret_password_store_binary_sync(
                                  &kSchema, SECRET_COLLECTION_DEFAULT, call.service, secret,
                                  call.cancellable, &error, "service", call.service, "account",
                                  call.account, nullptr);
                              secret_value_unref(secret);
                              return stored && !error
                                  ? Outcome {}
                                  : failure(error, "could not store the secret");
                          }))
        .ok;
}

std::optional<QByteArray> SecretServiceStore::read(const QString &service, const QString &account)
{
    return settle(
               callFor(service, account, m_timeoutMs,
                       [](const Call &call) {
                           GError *error = nullptr;
                           SecretService *secrets = secret_service_get_sync(
                               SECRET_SERVICE_OPEN_SESSION, call.cancellable, &error);
                           if (!secrets)
                               return failure(error, "could not reach the secret service");
                           GHashTable *attributes = secret_attributes_build(
                               &kSchema, "service", call.service, "account", call.account, nullptr);
                           // A search (not a plain lookup) tells a locked item from a missing one.
                           GList *items = secret_service_search_sync(
                               secrets, &kSchema, attributes,
                               SecretSearchFlags(SECRET_SEARCH_UNLOCK | SECRET_SEARCH_LOAD_SECRETS),
                               call.cancellable, &error);
                           g_hash_table_unref(attributes);
                           g_object_unref(secrets);
                           Outcome outcome
                               = error ? failure(error, "could not read the secret") : Outcome {};
                           if (outcome.ok && items)
                               outcome = secretOf(static_cast<SecretItem *>(items->data));
                           g_list_free_full(items, g_object_unref);
                           return outcome;
                       }))
        .value;
}

bool SecretServiceStore::remove(const QString &service, const QString &account)
{
    return settle(callFor(service, account, m_timeoutMs,
                          [](const Call &call) {
                              GError *error = nullptr;
                              // False without an error only means there was nothing to remove.
                              secret_password_clear_sync(&kSchema, call.cancellable, &error,
                                                         "service", call.service, "account",
                                                         call.account, nullptr);
                              return error ? failure(error, "could not remove the secret")
                                           : Outcome {};
                          }))
        .ok;
}

SecretServiceStore::Outcome SecretServiceStore::settle(std::optional<Outcome> outcome)
{
    if (!outcome)
        outcome = Outcome {false, std::nullopt,
                           QStringLiteral("the secret service did not answer in time")};
    m_lastError = outcome->error;
    return *outcome;
}

bool SecretServiceStore::isAvailable(int timeoutMs, QString *why)
{
    if (!sessionBusConfigured()) {
        *why = QStringLiteral("no session bus");
        return false;
    }
    const std::optional<Outcome> outcome
        = runBounded<Outcome>(timeoutMs, [timeoutMs](GCancellable *cancellable) {
              GError *error = nullptr;
              GDBusConnection *bus = g_bus_get_sync(G_BUS_TYPE_SESSION, cancellable, &error);
              if (!bus)
                  return failure(error, "no session bus");
              const bool reachable = busNameReachable(bus, timeoutMs, cancellable);
              g_object_unref(bus);
              if (!reachable)
                  return failure(nullptr, "no secret service on the session bus");
              SecretService *secrets
                  = secret_service_get_sync(SECRET_SERVICE_NONE, cancellable, &error);
              if (!secrets)
                  return failure(error, "the secret service does not answer");
              SecretCollection *collection = secret_collection_for_alias_sync(
                  secrets, SECRET_COLLECTION_DEFAULT, SECRET_COLLECTION_NONE, cancellable, &error);
              g_object_unref(secrets);
              if (!collection)
                  return failure(error, "the secret service has no default collection");
              g_object_unref(collection);
              return Outcome {};
          });
    if (!outcome) {
        *why = QStringLiteral("the secret service did not answer in time");
        return false;
    }
    *why = outcome->error;
    return outcome->ok;
}
