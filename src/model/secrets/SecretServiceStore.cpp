// SPDX-License-Identifier: GPL-3.0-or-later
// GLib headers first: they use "signals" as a field name, which Qt defines as a macro.
// The calls by D-Bus path are marked unstable (unchanged since libsecret 0.x); they tell a
// locked item from a missing one without prompting, and set a label with a bounded call.
#define SECRET_API_SUBJECT_TO_CHANGE
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

using Status = SecretResult::Status;
using Attempt = SecretServiceStore::Attempt;

const char kSecretsBusName[] = "org.freedesktop.secrets";
const char kItemInterface[] = "org.freedesktop.Secret.Item";

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

Attempt failed(Status status, QString error)
{
    return {SecretResult::failure(status, std::move(error)), false};
}

Attempt locked()
{
    return failed(Status::Locked, QStringLiteral("the system keyring is locked"));
}

// Takes ownership of error (which may be null). No answer is Unknown: the service may still
// act on the call.
Attempt fromError(GError *error, const char *action)
{
    if (!error)
        return failed(Status::Failed, QString::fromLatin1(action));
    Attempt attempt;
    attempt.result.status = Status::Failed;
    QString remote;
    if (gchar *name = g_dbus_error_get_remote_error(error)) {
        remote = QString::fromUtf8(name);
        g_free(name);
        g_dbus_error_strip_remote_error(error);
    }
    // A daemon that restarted knows neither our session ("The session wrapping the secret
    // does not exist", its name stripped by libsecret) nor the bus name our connection was
    // bound to. Any such refusal is worth one more try with a new session.
    if (remote == QLatin1String("org.freedesktop.Secret.Error.NoSession")
        || remote == QLatin1String("org.freedesktop.DBus.Error.UnknownObject")
        || g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_SERVICE_UNKNOWN)
        || (remote.isEmpty() && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_DBUS_ERROR)))
        attempt.staleSession = true;
    if (g_error_matches(error, SECRET_ERROR, SECRET_ERROR_IS_LOCKED)
        || remote == QLatin1String("org.freedesktop.Secret.Error.IsLocked"))
        attempt.result.status = Status::Locked;
    else if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT)
             || g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CLOSED)
             || g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_TIMEOUT)
             || g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_TIMED_OUT)
             || g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_NO_REPLY)
             || g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_DISCONNECTED))
        attempt.result.status = Status::Unknown;
    attempt.result.error = attempt.result.status == Status::Unknown
        ? QStringLiteral("the system keyring does not answer")
        : QString::fromLatin1(action) + QStringLiteral(": ") + QString::fromUtf8(error->message);
    g_error_free(error);
    return attempt;
}

Attempt done()
{
    return {};
}

// GLib would otherwise try to autolaunch a bus through X11, which can take long.
bool sessionBusConfigured()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

GHashTable *attributesFor(const QByteArray &service, const QByteArray *account)
{
    return account ? secret_attributes_build(&kSchema, "service", service.constData(), "account",
                                             account->constData(), nullptr)
                   : secret_attributes_build(&kSchema, "service", service.constData(), nullptr);
}

// The paths of the items with these attributes, unlocked and locked apart.
struct Found
{
    QList<QByteArray> unlocked;
    QList<QByteArray> locked;
};

QList<QByteArray> takePaths(gchar **paths)
{
    QList<QByteArray> list;
    for (gchar **path = paths; path && *path; ++path)
        list.append(QByteArray(*path));
    g_strfreev(paths);
    return list;
}

std::optional<Found> search(SecretService *service, GHashTable *attributes, Attempt *failure)
{
    gchar **unlocked = nullptr;
    gchar **locked = nullptr;
    GError *error = nullptr;
    const gboolean ok = secret_service_search_for_dbus_paths_sync(
        service, &kSchema, attributes, nullptr, &unlocked, &locked, &error);
    g_hash_table_unref(attributes);
    if (!ok || error) {
        *failure = fromError(error, "could not search the keyring");
        g_strfreev(unlocked);
        g_strfreev(locked);
        return std::nullopt;
    }
    return Found {takePaths(unlocked), takePaths(locked)};
}

// The item of (service, account): its paths, or why there are none to be had.
std::optional<Found> searchFor(SecretService *service, const QString &serviceName,
                               const QString &account, Attempt *failure)
{
    const QByteArray accountName = account.toUtf8();
    return search(service, attributesFor(serviceName.toUtf8(), &accountName), failure);
}

// Runs act on every item of (service, account). Nothing can be done to a locked item, and
// saying it was done would be untrue: any locked one makes the call Locked.
Attempt onEachItem(SecretService *service, const QString &serviceName, const QString &account,
                   const std::function<std::optional<Attempt>(const QByteArray &path)> &act)
{
    Attempt failure;
    const std::optional<Found> found = searchFor(service, serviceName, account, &failure);
    if (!found)
        return failure;
    if (!found->locked.isEmpty())
        return locked();
    for (const QByteArray &path : found->unlocked) {
        if (std::optional<Attempt> stopped = act(path))
            return *stopped;
    }
    return done();
}

// The path of the default collection, or why there is none.
std::optional<QByteArray> defaultCollection(SecretService *service, const char *action,
                                            Attempt *failure)
{
    GError *error = nullptr;
    gchar *path = secret_service_read_alias_dbus_path_sync(service, SECRET_COLLECTION_DEFAULT,
                                                           nullptr, &error);
    if (!path) {
        *failure = error ? fromError(error, action)
                         : failed(Status::Failed,
                                  QStringLiteral("the system keyring has no default collection"));
        return std::nullopt;
    }
    QByteArray collection(path);
    g_free(path);
    return collection;
}

// An item property read or written directly, with the call timeout.
GVariant *itemCall(SecretService *service, const QByteArray &path, const char *method,
                   GVariant *parameters, const GVariantType *replyType, int timeoutMs,
                   GError **error)
{
    return g_dbus_connection_call_sync(
        g_dbus_proxy_get_connection(G_DBUS_PROXY(service)), kSecretsBusName, path.constData(),
        "org.freedesktop.DBus.Properties", method, parameters, replyType, G_DBUS_CALL_FLAGS_NONE,
        timeoutMs, nullptr, error);
}

bool busNameReachable(GDBusConnection *bus, int timeoutMs, GCancellable *cancellable,
                      bool *answered)
{
    *answered = false;
    GVariant *owned = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "NameHasOwner", g_variant_new("(s)", kSecretsBusName), G_VARIANT_TYPE("(b)"),
        G_DBUS_CALL_FLAGS_NONE, timeoutMs, cancellable, nullptr);
    if (!owned)
        return false;
    *answered = true;
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

// Runs a blocking call on its own thread and waits at most timeoutMs for it: a service
// whose start hangs would hold a plain call for half a minute. On timeout the call is
// cancelled and left to finish on its own; it owns all it uses.
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

} // namespace

SecretServiceStore::SecretServiceStore(int timeoutMs)
    : m_timeoutMs(timeoutMs)
{ }

SecretServiceStore::~SecretServiceStore()
{
    disconnect();
}

void SecretServiceStore::disconnect()
{
    if (m_service)
        g_object_unref(m_service);
    m_service = nullptr;
}

SecretService *SecretServiceStore::connection(SecretResult *failure)
{
    if (m_service)
        return m_service;
    if (!sessionBusConfigured()) {
        *failure = SecretResult::failure(Status::Failed, QStringLiteral("no session bus"));
        return nullptr;
    }
    GError *error = nullptr;
    // A service of our own, not the process-wide one: it can be replaced when its session dies.
    m_service = secret_service_open_sync(SECRET_TYPE_SERVICE, nullptr, SECRET_SERVICE_OPEN_SESSION,
                                         nullptr, &error);
    if (!m_service) {
        *failure = error ? fromError(error, "could not reach the system keyring").result
                         : SecretResult::failure(
                             Status::Failed, QStringLiteral("could not reach the system keyring"));
        return nullptr;
    }
    g_dbus_proxy_set_default_timeout(G_DBUS_PROXY(m_service), m_timeoutMs);
    return m_service;
}

template<class Body> SecretResult SecretServiceStore::withConnection(Body body)
{
    for (int round = 0;; ++round) {
        SecretResult failure;
        SecretService *service = connection(&failure);
        if (!service)
            return failure;
        const Attempt attempt = body(service);
        if (!attempt.staleSession || round > 0)
            return attempt.result;
        disconnect();
    }
}

SecretResult SecretServiceStore::write(const QString &service, const QString &account,
                                       const QString &label, const QByteArray &value)
{
    return withConnection([&](SecretService *secrets) -> Attempt {
        Attempt failure;
        const std::optional<QByteArray> collection
            = defaultCollection(secrets, "could not store the secret", &failure);
        if (!collection)
            return failure;
        const QByteArray serviceName = service.toUtf8();
        const QByteArray accountName = account.toUtf8();
        GHashTable *attributes = attributesFor(serviceName, &accountName);
        GVariantBuilder builder;
        g_variant_builder_init(&builder, G_VARIANT_TYPE("a{ss}"));
        GHashTableIter iter;
        gpointer key = nullptr;
        gpointer text = nullptr;
        g_hash_table_iter_init(&iter, attributes);
        while (g_hash_table_iter_next(&iter, &key, &text))
            g_variant_builder_add(&builder, "{ss}", key, text);
        g_hash_table_unref(attributes);

        GHashTable *properties = g_hash_table_new_full(g_str_hash, g_str_equal, nullptr,
                                                       GDestroyNotify(g_variant_unref));
        g_hash_table_insert(properties, gpointer("org.freedesktop.Secret.Item.Label"),
                            g_variant_ref_sink(g_variant_new_string(label.toUtf8().constData())));
        g_hash_table_insert(properties, gpointer("org.freedesktop.Secret.Item.Attributes"),
                            g_variant_ref_sink(g_variant_builder_end(&builder)));
        SecretValue *secret = secret_value_new(value.constData(), value.size(), "text/plain");
        GError *error = nullptr;
        gchar *item = secret_service_create_item_dbus_path_sync(
            secrets, collection->constData(), properties, secret, SECRET_ITEM_CREATE_REPLACE,
            nullptr, &error);
        secret_value_unref(secret);
        g_hash_table_unref(properties);
        if (!item)
            return fromError(error, "could not store the secret");
        g_free(item);
        return done();
    });
}

SecretResult SecretServiceStore::read(const QString &service, const QString &account)
{
    return withConnection([&](SecretService *secrets) -> Attempt {
        Attempt failure;
        const std::optional<Found> found = searchFor(secrets, service, account, &failure);
        if (!found)
            return failure;
        if (found->unlocked.isEmpty())
            return found->locked.isEmpty() ? failed(Status::Missing, {}) : locked();
        GError *error = nullptr;
        SecretValue *secret = secret_service_get_secret_for_dbus_path_sync(
            secrets, found->unlocked.first().constData(), nullptr, &error);
        if (!secret)
            return error ? fromError(error, "could not read the secret")
                         : failed(Status::Missing, {});
        gsize length = 0;
        const gchar *bytes = secret_value_get(secret, &length);
        Attempt attempt;
        attempt.result.value = QByteArray(bytes, qsizetype(length));
        secret_value_unref(secret);
        return attempt;
    });
}

SecretResult SecretServiceStore::remove(const QString &service, const QString &account)
{
    return withConnection([&](SecretService *secrets) {
        return onEachItem(secrets, service, account,
                          [&](const QByteArray &path) -> std::optional<Attempt> {
                              GError *error = nullptr;
                              if (secret_service_delete_item_dbus_path_sync(
                                      secrets, path.constData(), nullptr, &error)
                                  || !error)
                                  return std::nullopt;
                              return fromError(error, "could not remove the secret");
                          });
    });
}

SecretListing SecretServiceStore::items(const QString &service)
{
    SecretListing listing;
    const SecretResult result = withConnection([&](SecretService *secrets) -> Attempt {
        listing.items.clear();
        Attempt failure;
        const std::optional<Found> found
            = search(secrets, attributesFor(service.toUtf8(), nullptr), &failure);
        if (!found)
            return failure;
        for (const QByteArray &path : found->unlocked + found->locked) {
            GError *error = nullptr;
            GVariant *reply
                = itemCall(secrets, path, "GetAll", g_variant_new("(s)", kItemInterface),
                           G_VARIANT_TYPE("(a{sv})"), m_timeoutMs, &error);
            if (!reply)
                return fromError(error, "could not list the secrets");
            GVariant *properties = g_variant_get_child_value(reply, 0);
            const gchar *label = "";
            g_variant_lookup(properties, "Label", "&s", &label);
            const gchar *accountName = nullptr;
            if (GVariant *attributes
                = g_variant_lookup_value(properties, "Attributes", G_VARIANT_TYPE("a{ss}"))) {
                if (g_variant_lookup(attributes, "account", "&s", &accountName))
                    listing.items.insert(QString::fromUtf8(accountName), QString::fromUtf8(label));
                g_variant_unref(attributes);
            }
            g_variant_unref(properties);
            g_variant_unref(reply);
        }
        return done();
    });
    listing.status = result.status;
    listing.error = result.error;
    return listing;
}

SecretResult SecretServiceStore::relabel(const QString &service, const QString &account,
                                         const QString &label)
{
    return withConnection([&](SecretService *secrets) {
        return onEachItem(
            secrets, service, account, [&](const QByteArray &path) -> std::optional<Attempt> {
                GError *error = nullptr;
                GVariant *reply
                    = itemCall(secrets, path, "Set",
                               g_variant_new("(ssv)", kItemInterface, "Label",
                                             g_variant_new_string(label.toUtf8().constData())),
                               nullptr, m_timeoutMs, &error);
                if (!reply)
                    return fromError(error, "could not rename the secret");
                g_variant_unref(reply);
                return std::nullopt;
            });
    });
}

SecretResult SecretServiceStore::unlock()
{
    return withConnection([&](SecretService *secrets) -> Attempt {
        Attempt failure;
        const std::optional<QByteArray> collection
            = defaultCollection(secrets, "could not unlock the system keyring", &failure);
        if (!collection)
            return failure;
        const gchar *paths[] = {collection->constData(), nullptr};
        gchar **unlocked = nullptr;
        GError *error = nullptr;
        // No cancellable: the prompt stays until the person answers it (cancelling a prompt on
        // screen makes gnome-keyring 42 abort).
        const gint count
            = secret_service_unlock_dbus_paths_sync(secrets, paths, nullptr, &unlocked, &error);
        g_strfreev(unlocked);
        if (error)
            return fromError(error, "could not unlock the system keyring");
        if (count < 1)
            return failed(Status::Locked, QStringLiteral("the system keyring stayed locked"));
        return done();
    });
}

SecretServiceStore::Presence SecretServiceStore::probe(int timeoutMs, QString *why)
{
    if (!sessionBusConfigured()) {
        *why = QStringLiteral("no session bus");
        return Presence::Absent;
    }
    struct Outcome
    {
        Presence presence = Presence::Available;
        QString why;
    };
    const std::optional<Outcome> outcome = runBounded<
        Outcome>(timeoutMs, [timeoutMs](GCancellable *cancellable) {
        GError *error = nullptr;
        GDBusConnection *bus = g_bus_get_sync(G_BUS_TYPE_SESSION, cancellable, &error);
        if (!bus) {
            // A bus that is configured but not reachable may be starting: decide later.
            g_clear_error(&error);
            return Outcome {Presence::NoAnswer, QStringLiteral("the session bus does not answer")};
        }
        bool answered = false;
        const bool reachable = busNameReachable(bus, timeoutMs, cancellable, &answered);
        g_object_unref(bus);
        if (!reachable)
            return Outcome {answered ? Presence::Absent : Presence::NoAnswer,
                            QStringLiteral("no secret service on the session bus")};
        SecretService *secrets = secret_service_get_sync(SECRET_SERVICE_NONE, cancellable, &error);
        if (!secrets) {
            g_clear_error(&error);
            return Outcome {Presence::NoAnswer,
                            QStringLiteral("the secret service does not answer")};
        }
        SecretCollection *collection = secret_collection_for_alias_sync(
            secrets, SECRET_COLLECTION_DEFAULT, SECRET_COLLECTION_NONE, cancellable, &error);
        g_object_unref(secrets);
        if (!collection) {
            const bool noAnswer = error
                && (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT)
                    || g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED)
                    || g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_NO_REPLY));
            g_clear_error(&error);
            return Outcome {noAnswer ? Presence::NoAnswer : Presence::Absent,
                            QStringLiteral("the secret service has no default collection")};
        }
        g_object_unref(collection);
        return Outcome {};
    });
    if (!outcome) {
        *why = QStringLiteral("the secret service did not answer in time");
        return Presence::NoAnswer;
    }
    *why = outcome->why;
    return outcome->presence;
}
