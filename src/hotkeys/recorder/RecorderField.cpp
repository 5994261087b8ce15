// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/recorder/RecorderField.h"

#include "hotkeys/Hotkeys.h"
#include "hotkeys/KeyCodeTable.h"
#include "hotkeys/NonCharacterKeys.h"
#include "hotkeys/recorder/RecorderServices.h"
#include "hotkeys/recorder/RecorderTexts.h"

#include <QRectF>
#include <QTimer>

namespace Hotkeys {

namespace {

constexpr qreal kClickMargin = 3;
constexpr int kForceButton = 1;

Name nameFor(const QString &rawValue)
{
    // The application's name carries its default, so clearing it writes false.
    if (rawValue == Name::togglePanel().rawValue())
        return Name::togglePanel();
    return Name(rawValue);
}

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
        return true;
    default:
        return false;
    }
}

bool isFunctionKey(int key)
{
    return key >= Qt::Key_F1 && key <= Qt::Key_F35;
}

int ask(const RecorderServices &services, const RecorderAlert &alert)
{
    return services.alert ? services.alert(alert) : 0;
}

void beep(const RecorderServices &services)
{
    if (services.beep)
        services.beep();
}

} // namespace

RecorderField::RecorderField(QObject *parent)
    : RecorderField(Name::togglePanel(), parent)
{ }

RecorderField::RecorderField(Name name, QObject *parent)
    : QObject(parent)
    , m_name(std::move(name))
    , m_placeholder(recorderText("record_shortcut"))
{ }

RecorderField::~RecorderField()
{
    endRecording();
}

void RecorderField::setRegistry(Registry *registry)
{
    if (registry == m_registry)
        return;
    endRecording();
    if (m_registry)
        disconnect(m_registry->notifier(), nullptr, this, nullptr);
    m_registry = registry;
    if (m_registry) {
        connect(m_registry->notifier(), &Notifier::shortcutByNameDidChange, this,
                [this](const Name &changed) {
                    if (changed == m_name)
                        showStoredShortcut();
                });
    }
    showStoredShortcut();
    emit registryChanged();
}

const RecorderServices &RecorderField::services() const
{
    static const RecorderServices none;
    return m_registry ? m_registry->recorderServices() : none;
}

void RecorderField::setShortcutName(const QString &rawValue)
{
    if (rawValue == m_name.rawValue())
        return;
    m_name = nameFor(rawValue);
    showStoredShortcut();
    emit shortcutNameChanged();
}

void RecorderField::startRecording()
{
    if (m_isRecording || !m_registry)
        return;
    m_isRecording = true;
    setPlaceholder(recorderText("press_shortcut"));
    m_registry->setDispatchPaused(true);
    emit m_registry->notifier()->recorderActiveStatusDidChange(true);
    emit recordingChanged();
}

void RecorderField::endRecording()
{
    if (!m_isRecording)
        return;
    m_isRecording = false;
    setPlaceholder(recorderText("record_shortcut"));
    if (m_registry) {
        m_registry->setDispatchPaused(false);
        emit m_registry->notifier()->recorderActiveStatusDidChange(false);
    }
    emit recordingChanged();
}

bool RecorderField::handleKeyEvent(int key, int modifiers, quint32 nativeScanCode)
{
    if (!m_isRecording)
        return false;
    const Modifiers::EventFlags flags
        = Modifiers::fromQt(Qt::KeyboardModifiers::fromInt(modifiers));
    const std::optional<qint64> keyCode = KeyCodeTable::keyCode(nativeScanCode);
    const std::optional<SpecialKey> special = keyCode ? specialKey(*keyCode) : std::nullopt;

    // A modifier on its way to a combination: wait for the rest.
    if (isModifierKey(key))
        return true;
    if (flags == 0 && special) {
        switch (*special) {
        case SpecialKey::tab: // focus moves on to the next control
            blur();
            return false;
        case SpecialKey::escape:
            blur();
            return true;
        case SpecialKey::deleteKey:
        case SpecialKey::deleteForward:
            clear();
            return true;
        default:
            break;
        }
    }
    // Shift alone, or nothing, only makes a shortcut of a function key.
    if ((flags & ~(Modifiers::kShift | Modifiers::kFunction)) == 0 && !isFunctionKey(key)) {
        beep(services());
        return true;
    }
    const std::optional<Shortcut> shortcut
        = Shortcut::fromNativeKey(nativeScanCode, Qt::KeyboardModifiers::fromInt(modifiers));
    if (!shortcut) {
        beep(services());
        return true;
    }
    if (checkMenuClash(*shortcut) == Verdict::refuse
        || checkSystemClash(*shortcut) == Verdict::refuse) {
        return true;
    }
    setText(shortcut->description());
    m_registry->setShortcut(shortcut, m_name);
    emit userChangedShortcut();
    blur();
    return true;
}

bool RecorderField::handlePointerRelease(qreal x, qreal y, qreal width, qreal height)
{
    if (!m_isRecording)
        return false;
    const QRectF area = QRectF(0, 0, width, height)
                            .adjusted(-kClickMargin, -kClickMargin, kClickMargin, kClickMargin);
    if (area.contains(x, y))
        return true;
    blur();
    return false;
}

void RecorderField::clear()
{
    if (m_text.isEmpty())
        return;
    setText(QString());
    m_registry->setShortcut(std::nullopt, m_name);
    emit userChangedShortcut();
    focus();
}

void RecorderField::windowActivated()
{
    // Not merely because the window became active: by a click, or by Tab afterwards.
    setCanBecomeKey(false);
    QTimer::singleShot(0, this, [this] { setCanBecomeKey(true); });
}

void RecorderField::windowDeactivated()
{
    blur();
}

RecorderField::Verdict RecorderField::checkMenuClash(const Shortcut &shortcut)
{
    const RecorderServices &services = this->services();
    const QKeySequence sequence = shortcut.keySequence();
    if (!services.menuShortcuts || sequence.isEmpty())
        return Verdict::accept;
    for (const MenuShortcut &item : services.menuShortcuts()) {
        if (item.shortcut != sequence)
            continue;
        blur();
        ask(services,
            {recorderText("keyboard_shortcut_used_by_menu_item").arg(item.title), {}, {}});
        focus();
        return Verdict::refuse;
    }
    return Verdict::accept;
}

RecorderField::Verdict RecorderField::checkSystemClash(const Shortcut &shortcut)
{
    // F12 alone is never reported, whatever the desktop says about it.
    if (shortcut == Shortcut(Key::f12))
        return Verdict::accept;
    const RecorderServices &services = this->services();
    const bool listed = services.systemShortcuts && services.systemShortcuts().contains(shortcut);
    HotkeyBackend *backend = m_registry->backend();
    const bool held = backend && backend->isHeldElsewhere(shortcut);
    if (!listed && !held)
        return Verdict::accept;
    blur();
    const int answer = ask(services,
                           {recorderText("keyboard_shortcut_used_by_system"),
                            recorderText("keyboard_shortcuts_can_be_changed"),
                            {recorderText("ok"), recorderText("force_use_shortcut")}});
    focus();
    return answer == kForceButton ? Verdict::accept : Verdict::refuse;
}

void RecorderField::showStoredShortcut()
{
    const std::optional<Shortcut> stored = m_registry ? m_registry->shortcut(m_name) : std::nullopt;
    setText(stored ? stored->description() : QString());
}

void RecorderField::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    emit textChanged();
}

void RecorderField::setPlaceholder(const QString &placeholder)
{
    if (placeholder == m_placeholder)
        return;
    m_placeholder = placeholder;
    emit placeholderChanged();
}

void RecorderField::setCanBecomeKey(bool canBecomeKey)
{
    if (canBecomeKey == m_canBecomeKey)
        return;
    m_canBecomeKey = canBecomeKey;
    emit canBecomeKeyChanged();
}

void RecorderField::blur()
{
    endRecording();
    emit blurRequested();
}

void RecorderField::focus()
{
    emit focusRequested();
    startRecording();
}

} // namespace Hotkeys
