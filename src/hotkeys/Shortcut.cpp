// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/Shortcut.h"

#include "hotkeys/KeyCodeTable.h"
#include "hotkeys/KeyboardLayout.h"
#include "hotkeys/NonCharacterKeys.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>

namespace Hotkeys {

namespace {

const QString kKeyCodeMember = QStringLiteral("carbonKeyCode");
const QString kModifiersMember = QStringLiteral("carbonModifiers");

// The unshifted character of a key under the current layout; special keys have none.
std::optional<QString> keyCharacter(qint64 keyCode)
{
    if (specialKey(keyCode))
        return std::nullopt;
    const std::optional<quint32> x11 = KeyCodeTable::x11Keycode(keyCode);
    const KeyboardLayout *layout = currentKeyboardLayout();
    if (!x11 || !layout)
        return std::nullopt;
    return layout->character(*x11);
}

// Pressing a modifier only changes the modifiers; it never completes a combination.
bool isModifierKey(Key key)
{
    for (Key modifier :
         {Key::capsLock, Key::shift, Key::function, Key::control, Key::option, Key::command,
          Key::rightCommand, Key::rightOption, Key::rightControl, Key::rightShift}) {
        if (key == modifier)
            return true;
    }
    return false;
}

std::optional<qint64> integerMember(const QJsonObject &object, const QString &name)
{
    const QJsonValue value = object.value(name);
    if (!value.isDouble())
        return std::nullopt;
    const qint64 integer = value.toInteger();
    if (static_cast<double>(integer) != value.toDouble())
        return std::nullopt;
    return integer;
}

QString nativeText(QKeyCombination combination)
{
    return QKeySequence(combination).toString(QKeySequence::NativeText);
}

// Qt's own words and order for the modifiers ("Ctrl+Shift+"), taken from a sequence with a
// known key so the words follow Qt's translations.
QString modifierPrefix(Modifiers::EventFlags flags)
{
    const QString withKey = nativeText(QKeyCombination(Modifiers::toQt(flags), Qt::Key_Space));
    QString prefix = withKey.chopped(nativeText(Qt::Key_Space).size());
    if (flags & Modifiers::kFunction)
        prefix += QStringLiteral("Fn+");
    return prefix;
}

} // namespace

Shortcut::Shortcut(qint64 carbonKeyCode, Modifiers::CarbonFlags carbonModifiers)
    : m_carbonKeyCode(carbonKeyCode)
    , m_carbonModifiers(Modifiers::normalized(carbonModifiers))
{ }

Shortcut::Shortcut(Key key, Modifiers::EventFlags modifiers)
    : Shortcut(key.rawValue, Modifiers::toCarbon(modifiers))
{ }

Shortcut::Shortcut(Stored, qint64 carbonKeyCode, Modifiers::CarbonFlags carbonModifiers)
    : m_carbonKeyCode(carbonKeyCode)
    , m_carbonModifiers(carbonModifiers)
{ }

std::optional<Shortcut> Shortcut::fromKeyEvent(const QKeyEvent &event)
{
    if (event.type() != QEvent::KeyPress && event.type() != QEvent::KeyRelease)
        return std::nullopt;
    return fromNativeKey(event.nativeScanCode(), event.modifiers());
}

std::optional<Shortcut> Shortcut::fromNativeKey(quint32 x11Keycode, Qt::KeyboardModifiers modifiers)
{
    const std::optional<qint64> keyCode = KeyCodeTable::keyCode(x11Keycode);
    if (!keyCode || isModifierKey(Key(*keyCode)))
        return std::nullopt;
    return Shortcut(Key(*keyCode), Modifiers::fromQt(modifiers) & ~Modifiers::kFunction);
}

QByteArray Shortcut::toJson() const
{
    const QJsonObject object {{kKeyCodeMember, m_carbonKeyCode},
                              {kModifiersMember, m_carbonModifiers}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<Shortcut> Shortcut::fromJson(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const std::optional<qint64> keyCode = integerMember(document.object(), kKeyCodeMember);
    const std::optional<qint64> modifiers = integerMember(document.object(), kModifiersMember);
    if (!keyCode || !modifiers)
        return std::nullopt;
    return Shortcut(Stored {}, *keyCode, *modifiers);
}

Modifiers::EventFlags Shortcut::modifiers() const
{
    return Modifiers::fromCarbon(m_carbonModifiers);
}

QString Shortcut::description() const
{
    const QString prefix = modifierPrefix(modifiers());
    if (const std::optional<SpecialKey> special = specialKey(m_carbonKeyCode))
        return prefix + nativeText(qtKey(*special));
    return prefix + keyCharacter(m_carbonKeyCode).value_or(QStringLiteral("\uFFFD")).toUpper();
}

QKeySequence Shortcut::keySequence() const
{
    const Modifiers::EventFlags flags = modifiers();
    if (flags & Modifiers::kFunction)
        return {};
    const Qt::KeyboardModifiers qtModifiers = Modifiers::toQt(flags);
    if (const std::optional<SpecialKey> special = specialKey(m_carbonKeyCode)) {
        const QKeyCombination key = qtKey(*special);
        return QKeySequence(QKeyCombination(qtModifiers | key.keyboardModifiers(), key.key()));
    }
    const std::optional<QString> character = keyCharacter(m_carbonKeyCode);
    if (!character)
        return {};
    // Qt names a character key by the upper-case form of its code point.
    const char32_t codePoint = QChar::toUpper(character->toUcs4().value(0));
    return QKeySequence(QKeyCombination(qtModifiers, Qt::Key(codePoint)));
}

size_t qHash(const Shortcut &shortcut, size_t seed)
{
    return qHashMulti(seed, shortcut.carbonKeyCode(), shortcut.carbonModifiers());
}

} // namespace Hotkeys
