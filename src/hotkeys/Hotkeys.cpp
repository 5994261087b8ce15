// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/Hotkeys.h"

#include "hotkeys/MenuTrackingFilter.h"
#include "hotkeys/PlatformHotkeys.h"
#include "hotkeys/recorder/RecorderTexts.h"
#include "model/Preferences.h"

#include <QGuiApplication>
#include <QJsonValue>
#include <QPointer>

namespace Hotkeys {

namespace {

template<typename Table>
bool anyNameUses(const Registry &registry, const Table &table, const Shortcut &shortcut)
{
    for (auto it = table.cbegin(); it != table.cend(); ++it) {
        if (registry.shortcut(it.key()) == shortcut)
            return true;
    }
    return false;
}

} // namespace

class Registry::StreamSubscription final : public Subscription
{
public:
    StreamSubscription(Registry &registry, Name name, quint64 token)
        : m_registry(&registry)
        , m_name(std::move(name))
        , m_token(token)
    { }
    ~StreamSubscription() override
    {
        if (m_registry)
            m_registry->removeStream(m_name, m_token);
    }

private:
    QPointer<Registry> m_registry;
    Name m_name;
    quint64 m_token;
};

Registry::Registry(Preferences &preferences, std::unique_ptr<HotkeyBackend> backend,
                   QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_platform(
          std::make_unique<PlatformHotkeys>(std::move(backend), [this](const Shortcut &shortcut) {
              emit m_notifier.registrationStatusDidChange(shortcut);
          }))
{
    if (auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        m_menuTracking = new MenuTrackingFilter(
            [this](bool tracking) { m_platform->setMenuTracking(tracking); },
            [this](const Shortcut &shortcut, EventType type, bool isRepeat) {
                return m_platform->handleTrackedKey(shortcut, type, isRepeat);
            },
            this);
        application->installEventFilter(m_menuTracking);
    }
}

Registry::~Registry() = default;

HotkeyBackend *Registry::backend() const
{
    return m_platform->backend();
}

void Registry::setBackend(std::unique_ptr<HotkeyBackend> backend)
{
    m_platform->replaceBackend(std::move(backend));
}

void Registry::setRecorderServices(RecorderServices services)
{
    m_recorderServices = std::move(services);
}

void Registry::adopt(const Name &name)
{
    if (!name.defaultShortcut())
        return;
    if (!hasStoredValue(name)) {
        setShortcut(name.defaultShortcut(), name);
    } else if (hasUnreadableValue(name)) {
        // Left as it is, the name would have no shortcut and nothing would say why.
        setShortcut(name.defaultShortcut(), name);
        emit m_notifier.unreadableShortcutReplaced(name);
    }
}

void Registry::dispatch(const Shortcut &fired, EventType type)
{
    if (m_isDispatchPaused)
        return;
    // Collected first: an action may change the tables.
    std::vector<Action> actions;
    const QHash<Name, std::vector<Action>> &handlers
        = type == EventType::keyDown ? m_keyDownHandlers : m_keyUpHandlers;
    for (auto it = handlers.cbegin(); it != handlers.cend(); ++it) {
        if (shortcut(it.key()) == fired)
            actions.insert(actions.end(), it.value().cbegin(), it.value().cend());
    }
    std::vector<StreamAction> streamActions;
    for (auto it = m_streamHandlers.cbegin(); it != m_streamHandlers.cend(); ++it) {
        if (shortcut(it.key()) == fired)
            streamActions.insert(streamActions.end(), it.value().cbegin(), it.value().cend());
    }
    for (const Action &action : actions)
        action();
    for (const StreamAction &action : streamActions)
        action(type);
}

void Registry::registerIfNeeded(const Shortcut &shortcut)
{
    if (m_registered.contains(shortcut))
        return;
    m_platform->registerShortcut(
        shortcut, [this](const Shortcut &fired) { dispatch(fired, EventType::keyDown); },
        [this](const Shortcut &fired) { dispatch(fired, EventType::keyUp); });
    m_registered.insert(shortcut);
}

void Registry::unregister(const Shortcut &shortcut)
{
    m_platform->unregisterShortcut(shortcut);
    m_registered.remove(shortcut);
}

// A shortcut another name's handlers still listen to stays live.
void Registry::unregisterUnlessHandled(const Shortcut &shortcut)
{
    if (anyNameUses(*this, m_keyDownHandlers, shortcut)
        || anyNameUses(*this, m_keyUpHandlers, shortcut)
        || anyNameUses(*this, m_streamHandlers, shortcut)) {
        return;
    }
    unregister(shortcut);
}

// A shortcut that another name still stores stays live for that name.
void Registry::unregisterUnlessStoredElsewhere(const Shortcut &shortcut, const Name &name)
{
    for (const QString &key : m_preferences.keys()) {
        if (!key.startsWith(Name::kStoragePrefix) || key == name.storageKey())
            continue;
        const std::optional<QString> text = m_preferences.string(key);
        if (text && Shortcut::fromJson(text->toUtf8()) == shortcut)
            return;
    }
    unregister(shortcut);
}

void Registry::addHandler(QHash<Name, std::vector<Action>> &table, const Name &name, Action action)
{
    table[name].push_back(std::move(action));
    if (const std::optional<Shortcut> stored = shortcut(name))
        registerIfNeeded(*stored);
}

void Registry::removeStream(const Name &name, quint64 token)
{
    auto found = m_streamHandlers.find(name);
    if (found == m_streamHandlers.end())
        return;
    found->remove(token);
    if (found->isEmpty())
        m_streamHandlers.erase(found);
    if (const std::optional<Shortcut> stored = shortcut(name))
        unregisterUnlessHandled(*stored);
}

std::optional<Shortcut> Registry::shortcut(const Name &name) const
{
    const std::optional<QString> text = m_preferences.string(name.storageKey());
    if (!text)
        return std::nullopt;
    return Shortcut::fromJson(text->toUtf8());
}

bool Registry::hasStoredValue(const Name &name) const
{
    return m_preferences.contains(name.storageKey());
}

void Registry::setShortcut(const std::optional<Shortcut> &newShortcut, const Name &name)
{
    const std::optional<Shortcut> old = shortcut(name);
    if (newShortcut) {
        if (old)
            unregisterUnlessStoredElsewhere(*old, name);
        registerIfNeeded(*newShortcut);
        m_preferences.setString(name.storageKey(), QString::fromUtf8(newShortcut->toJson()));
    } else {
        if (!old)
            return;
        if (name.defaultShortcut())
            m_preferences.setBoolean(name.storageKey(), false);
        else
            m_preferences.remove(name.storageKey());
        unregisterUnlessStoredElsewhere(*old, name);
    }
    emit m_notifier.shortcutByNameDidChange(name);
}

void Registry::reset(const QList<Name> &names)
{
    for (const Name &name : names)
        setShortcut(name.defaultShortcut(), name);
}

void Registry::resetAll()
{
    QList<Name> names;
    for (const QString &key : m_preferences.keys()) {
        if (key.startsWith(Name::kStoragePrefix))
            names.append(Name(key.mid(Name::kStoragePrefix.size())));
    }
    reset(names);
}

void Registry::onKeyDown(const Name &name, std::function<void()> action)
{
    addHandler(m_keyDownHandlers, name, std::move(action));
}

void Registry::onKeyUp(const Name &name, std::function<void()> action)
{
    addHandler(m_keyUpHandlers, name, std::move(action));
}

void Registry::removeHandler(const Name &name)
{
    m_keyDownHandlers.remove(name);
    m_keyUpHandlers.remove(name);
    if (const std::optional<Shortcut> stored = shortcut(name))
        unregisterUnlessHandled(*stored);
}

void Registry::removeAllHandlers()
{
    QList<Name> names = m_keyDownHandlers.keys() + m_keyUpHandlers.keys();
    m_keyDownHandlers.clear();
    m_keyUpHandlers.clear();
    for (const Name &name : names) {
        if (const std::optional<Shortcut> stored = shortcut(name))
            unregisterUnlessHandled(*stored);
    }
}

void Registry::enable(const QList<Name> &names)
{
    for (const Name &name : names) {
        if (const std::optional<Shortcut> stored = shortcut(name))
            registerIfNeeded(*stored);
    }
}

void Registry::disable(const QList<Name> &names)
{
    for (const Name &name : names) {
        if (const std::optional<Shortcut> stored = shortcut(name))
            unregister(*stored);
    }
}

bool Registry::isEnabled(const Name &name) const
{
    const std::optional<Shortcut> stored = shortcut(name);
    return isEnabled() && stored && m_registered.contains(*stored)
        && !m_platform->registrationFailure(*stored);
}

Result<void> Registry::registration(const Name &name) const
{
    const std::optional<Shortcut> stored = shortcut(name);
    return stored ? registration(*stored) : Result<void>();
}

Result<void> Registry::registration(const Shortcut &shortcut) const
{
    if (const std::optional<int> status = m_platform->registrationFailure(shortcut))
        return Failure {registrationFailureText(shortcut, *status), *status};
    return {};
}

bool Registry::hasUnreadableValue(const Name &name) const
{
    const QJsonValue stored = m_preferences.value(name.storageKey());
    return !stored.isUndefined() && stored != QJsonValue(false) && !shortcut(name);
}

void Registry::setEnabled(bool enabled)
{
    if (m_isEnabled == enabled)
        return;
    m_isEnabled = enabled;
    m_platform->setEnabled(enabled && !m_isDispatchPaused);
}

void Registry::setDispatchPaused(bool paused)
{
    m_isDispatchPaused = paused;
    // A grab would take the combination from our own recorder, which pauses to record it.
    m_platform->setEnabled(m_isEnabled && !paused);
}

std::unique_ptr<Subscription> Registry::events(const Name &name,
                                               std::function<void(EventType)> callback)
{
    const quint64 token = ++m_lastStreamToken;
    m_streamHandlers[name].insert(token, std::move(callback));
    if (const std::optional<Shortcut> stored = shortcut(name))
        registerIfNeeded(*stored);
    return std::make_unique<StreamSubscription>(*this, name, token);
}

std::unique_ptr<Subscription> Registry::events(EventType type, const Name &name,
                                               std::function<void()> callback)
{
    return events(name, [type, callback = std::move(callback)](EventType fired) {
        if (fired == type)
            callback();
    });
}

} // namespace Hotkeys
