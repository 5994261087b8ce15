// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/Hotkeys.h"

#include "hotkeys/MenuTrackingFilter.h"
#include "hotkeys/PlatformHotkeys.h"
#include "model/Preferences.h"

#include <QGuiApplication>
#include <QHash>
#include <QJsonValue>
#include <QSet>

#include <vector>

namespace Hotkeys {

namespace {

using Action = std::function<void()>;
using StreamAction = std::function<void(EventType)>;

struct State
{
    explicit State(Preferences &preferences, std::unique_ptr<HotkeyBackend> backend)
        : preferences(&preferences)
        , platform(std::move(backend), [](const Shortcut &shortcut) {
            emit notifier()->registrationStatusDidChange(shortcut);
        })
    { }

    Preferences *preferences;
    PlatformHotkeys platform;
    QSet<Shortcut> registered;
    QHash<Name, std::vector<Action>> keyDownHandlers;
    QHash<Name, std::vector<Action>> keyUpHandlers;
    QHash<Name, QHash<quint64, StreamAction>> streamHandlers;
    quint64 lastStreamToken = 0;
    bool isEnabled = true;
    bool isDispatchPaused = false;
};

// Bumped by configure() so a subscription made under an earlier state leaves the new one alone.
quint64 g_generation = 0;

std::unique_ptr<State> &stateSlot()
{
    static std::unique_ptr<State> state;
    return state;
}

State &state()
{
    std::unique_ptr<State> &slot = stateSlot();
    if (!slot)
        slot = std::make_unique<State>(Preferences::shared(), nullptr);
    return *slot;
}

void dispatch(const Shortcut &fired, EventType type)
{
    State &s = state();
    if (s.isDispatchPaused)
        return;
    // Collected first: an action may change the tables.
    std::vector<Action> actions;
    const QHash<Name, std::vector<Action>> &handlers
        = type == EventType::keyDown ? s.keyDownHandlers : s.keyUpHandlers;
    for (auto it = handlers.cbegin(); it != handlers.cend(); ++it) {
        if (shortcut(it.key()) == fired)
            actions.insert(actions.end(), it.value().cbegin(), it.value().cend());
    }
    std::vector<StreamAction> streamActions;
    for (auto it = s.streamHandlers.cbegin(); it != s.streamHandlers.cend(); ++it) {
        if (shortcut(it.key()) == fired)
            streamActions.insert(streamActions.end(), it.value().cbegin(), it.value().cend());
    }
    for (const Action &action : actions)
        action();
    for (const StreamAction &action : streamActions)
        action(type);
}

void registerIfNeeded(const Shortcut &shortcut)
{
    State &s = state();
    if (s.registered.contains(shortcut))
        return;
    s.platform.registerShortcut(
        shortcut, [](const Shortcut &fired) { dispatch(fired, EventType::keyDown); },
        [](const Shortcut &fired) { dispatch(fired, EventType::keyUp); });
    s.registered.insert(shortcut);
}

void unregister(const Shortcut &shortcut)
{
    State &s = state();
    s.platform.unregisterShortcut(shortcut);
    s.registered.remove(shortcut);
}

template<typename Table> bool anyNameUses(const Table &table, const Shortcut &shortcut)
{
    for (auto it = table.cbegin(); it != table.cend(); ++it) {
        if (Hotkeys::shortcut(it.key()) == shortcut)
            return true;
    }
    return false;
}

// A shortcut another name's handlers still listen to stays live.
void unregisterUnlessHandled(const Shortcut &shortcut)
{
    const State &s = state();
    if (anyNameUses(s.keyDownHandlers, shortcut) || anyNameUses(s.keyUpHandlers, shortcut)
        || anyNameUses(s.streamHandlers, shortcut)) {
        return;
    }
    unregister(shortcut);
}

// A shortcut that another name still stores stays live for that name.
void unregisterUnlessStoredElsewhere(const Shortcut &shortcut, const Name &name)
{
    const QString prefix = QStringLiteral("Hotkeys_");
    const Preferences &preferences = *state().preferences;
    for (const QString &key : preferences.keys()) {
        if (!key.startsWith(prefix) || key == name.storageKey())
            continue;
        const std::optional<QString> text = preferences.string(key);
        if (text && Shortcut::fromJson(text->toUtf8()) == shortcut)
            return;
    }
    unregister(shortcut);
}

void addHandler(QHash<Name, std::vector<Action>> &table, const Name &name, Action action)
{
    table[name].push_back(std::move(action));
    if (const std::optional<Shortcut> stored = shortcut(name))
        registerIfNeeded(*stored);
}

void setMenuTracking(bool tracking)
{
    state().platform.setMenuTracking(tracking);
}

bool handleTrackedKey(const Shortcut &shortcut, EventType type, bool isRepeat)
{
    return state().platform.handleTrackedKey(shortcut, type, isRepeat);
}

class StreamSubscription final : public Subscription
{
public:
    StreamSubscription(Name name, quint64 token)
        : m_name(std::move(name))
        , m_token(token)
        , m_generation(g_generation)
    { }
    ~StreamSubscription() override
    {
        if (m_generation != g_generation)
            return;
        State &s = state();
        auto found = s.streamHandlers.find(m_name);
        if (found == s.streamHandlers.end())
            return;
        found->remove(m_token);
        if (found->isEmpty())
            s.streamHandlers.erase(found);
        if (const std::optional<Shortcut> stored = shortcut(m_name))
            unregisterUnlessHandled(*stored);
    }

private:
    Name m_name;
    quint64 m_token;
    quint64 m_generation;
};

} // namespace

void runStartup()
{
    static bool done = false;
    if (done || !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    done = true;
    auto *filter = new MenuTrackingFilter(&setMenuTracking, &handleTrackedKey, qApp);
    qApp->installEventFilter(filter);
}

bool installBackend(std::unique_ptr<HotkeyBackend> backend)
{
    runStartup();
    const bool installed = backend != nullptr;
    state().platform.replaceBackend(std::move(backend));
    return installed;
}

void configure(Preferences &preferences, std::unique_ptr<HotkeyBackend> backend)
{
    ++g_generation;
    stateSlot() = std::make_unique<State>(preferences, std::move(backend));
    runStartup();
}

Notifier *notifier()
{
    static Notifier instance;
    return &instance;
}

HotkeyBackend *backend()
{
    return state().platform.backend();
}

std::optional<Shortcut> shortcut(const Name &name)
{
    const std::optional<QString> text = state().preferences->string(name.storageKey());
    if (!text)
        return std::nullopt;
    return Shortcut::fromJson(text->toUtf8());
}

bool hasStoredValue(const Name &name)
{
    return state().preferences->contains(name.storageKey());
}

void setShortcut(const std::optional<Shortcut> &newShortcut, const Name &name)
{
    State &s = state();
    const std::optional<Shortcut> old = shortcut(name);
    if (newShortcut) {
        if (old)
            unregisterUnlessStoredElsewhere(*old, name);
        registerIfNeeded(*newShortcut);
        s.preferences->setString(name.storageKey(), QString::fromUtf8(newShortcut->toJson()));
    } else {
        if (!old)
            return;
        if (name.defaultShortcut())
            s.preferences->setBoolean(name.storageKey(), false);
        else
            s.preferences->remove(name.storageKey());
        unregisterUnlessStoredElsewhere(*old, name);
    }
    emit notifier()->shortcutByNameDidChange(name);
}

void reset(const QList<Name> &names)
{
    for (const Name &name : names)
        setShortcut(name.defaultShortcut(), name);
}

void resetAll()
{
    const QString prefix = QStringLiteral("Hotkeys_");
    QList<Name> names;
    for (const QString &key : state().preferences->keys()) {
        if (key.startsWith(prefix))
            names.append(Name(key.mid(prefix.size())));
    }
    reset(names);
}

void onKeyDown(const Name &name, std::function<void()> action)
{
    addHandler(state().keyDownHandlers, name, std::move(action));
}

void onKeyUp(const Name &name, std::function<void()> action)
{
    addHandler(state().keyUpHandlers, name, std::move(action));
}

void removeHandler(const Name &name)
{
    State &s = state();
    s.keyDownHandlers.remove(name);
    s.keyUpHandlers.remove(name);
    if (const std::optional<Shortcut> stored = shortcut(name))
        unregisterUnlessHandled(*stored);
}

void removeAllHandlers()
{
    State &s = state();
    QList<Name> names = s.keyDownHandlers.keys() + s.keyUpHandlers.keys();
    s.keyDownHandlers.clear();
    s.keyUpHandlers.clear();
    for (const Name &name : names) {
        if (const std::optional<Shortcut> stored = shortcut(name))
            unregisterUnlessHandled(*stored);
    }
}

void enable(const QList<Name> &names)
{
    for (const Name &name : names) {
        if (const std::optional<Shortcut> stored = shortcut(name))
            registerIfNeeded(*stored);
    }
}

void disable(const QList<Name> &names)
{
    for (const Name &name : names) {
        if (const std::optional<Shortcut> stored = shortcut(name))
            unregister(*stored);
    }
}

bool isEnabled(const Name &name)
{
    const std::optional<Shortcut> stored = shortcut(name);
    return isEnabled() && stored && state().registered.contains(*stored)
        && !state().platform.registrationFailure(*stored);
}

std::optional<int> registrationFailure(const Name &name)
{
    const std::optional<Shortcut> stored = shortcut(name);
    return stored ? registrationFailure(*stored) : std::nullopt;
}

std::optional<int> registrationFailure(const Shortcut &shortcut)
{
    return state().platform.registrationFailure(shortcut);
}

bool hasUnreadableValue(const Name &name)
{
    const QJsonValue stored = state().preferences->value(name.storageKey());
    return !stored.isUndefined() && stored != QJsonValue(false) && !shortcut(name);
}

bool isEnabled()
{
    return state().isEnabled;
}

void setEnabled(bool enabled)
{
    State &s = state();
    if (s.isEnabled == enabled)
        return;
    s.isEnabled = enabled;
    s.platform.setEnabled(enabled && !s.isDispatchPaused);
}

bool isDispatchPaused()
{
    return state().isDispatchPaused;
}

void setDispatchPaused(bool paused)
{
    State &s = state();
    s.isDispatchPaused = paused;
    // A grab would take the combination from our own recorder, which pauses to record it.
    s.platform.setEnabled(s.isEnabled && !paused);
}

std::unique_ptr<Subscription> events(const Name &name, std::function<void(EventType)> callback)
{
    State &s = state();
    const quint64 token = ++s.lastStreamToken;
    s.streamHandlers[name].insert(token, std::move(callback));
    if (const std::optional<Shortcut> stored = shortcut(name))
        registerIfNeeded(*stored);
    return std::make_unique<StreamSubscription>(name, token);
}

std::unique_ptr<Subscription> events(EventType type, const Name &name,
                                     std::function<void()> callback)
{
    return events(name, [type, callback = std::move(callback)](EventType fired) {
        if (fired == type)
            callback();
    });
}

} // namespace Hotkeys
