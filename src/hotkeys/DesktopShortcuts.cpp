// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/DesktopShortcuts.h"

#include "hotkeys/GnomeKeybindings.h"
#include "hotkeys/KeyCodeTable.h"
#include "hotkeys/KeyboardLayout.h"

#include <QFile>
#include <QKeySequence>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include <xkbcommon/xkbcommon.h>

namespace Hotkeys::DesktopShortcuts {

namespace {

// On Linux Ctrl plays Command, Super plays Control and Alt plays Option.
std::optional<Modifiers::EventFlags> gtkModifier(const QString &name)
{
    const QString lower = name.toLower();
    if (lower == QLatin1String("primary") || lower == QLatin1String("control")
        || lower == QLatin1String("ctrl") || lower == QLatin1String("ctl"))
        return Modifiers::kCommand;
    if (lower == QLatin1String("shift"))
        return Modifiers::kShift;
    if (lower == QLatin1String("alt") || lower == QLatin1String("mod1"))
        return Modifiers::kOption;
    if (lower == QLatin1String("super") || lower == QLatin1String("meta")
        || lower == QLatin1String("mod4"))
        return Modifiers::kControl;
    return std::nullopt;
}

Modifiers::EventFlags qtModifiers(Qt::KeyboardModifiers modifiers)
{
    Modifiers::EventFlags flags = 0;
    if (modifiers & Qt::ControlModifier)
        flags |= Modifiers::kCommand;
    if (modifiers & Qt::ShiftModifier)
        flags |= Modifiers::kShift;
    if (modifiers & Qt::AltModifier)
        flags |= Modifiers::kOption;
    if (modifiers & Qt::MetaModifier)
        flags |= Modifiers::kControl;
    return flags;
}

// Qt's keys as X keysyms: Latin-1 keys are their own keysym (lower case for letters); the
// others by table.
std::optional<quint32> keysymOfQtKey(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return quint32(key - Qt::Key_A + 'a');
    if (key >= Qt::Key_Space && key <= 0xff)
        return quint32(xkb_keysym_to_lower(xkb_keysym_t(key)));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return quint32(XKB_KEY_F1 + (key - Qt::Key_F1));
    static const QHash<int, quint32> special = {
        {Qt::Key_Escape, XKB_KEY_Escape},
        {Qt::Key_Tab, XKB_KEY_Tab},
        {Qt::Key_Backtab, XKB_KEY_Tab},
        {Qt::Key_Backspace, XKB_KEY_BackSpace},
        {Qt::Key_Return, XKB_KEY_Return},
        {Qt::Key_Enter, XKB_KEY_KP_Enter},
        {Qt::Key_Insert, XKB_KEY_Insert},
        {Qt::Key_Delete, XKB_KEY_Delete},
        {Qt::Key_Pause, XKB_KEY_Pause},
        {Qt::Key_Print, XKB_KEY_Print},
        {Qt::Key_Home, XKB_KEY_Home},
        {Qt::Key_End, XKB_KEY_End},
        {Qt::Key_Left, XKB_KEY_Left},
        {Qt::Key_Up, XKB_KEY_Up},
        {Qt::Key_Right, XKB_KEY_Right},
        {Qt::Key_Down, XKB_KEY_Down},
        {Qt::Key_PageUp, XKB_KEY_Prior},
        {Qt::Key_PageDown, XKB_KEY_Next},
        {Qt::Key_Menu, XKB_KEY_Menu},
        {Qt::Key_VolumeMute, XKB_KEY_XF86AudioMute},
        {Qt::Key_VolumeUp, XKB_KEY_XF86AudioRaiseVolume},
        {Qt::Key_VolumeDown, XKB_KEY_XF86AudioLowerVolume},
    };
    const auto found = special.constFind(key);
    return found == special.cend() ? std::nullopt : std::optional(found.value());
}

// "Meta+Space" and friends, in Qt's portable text.
std::optional<Accelerator> fromQtText(const QString &text)
{
    const QKeySequence sequence = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (sequence.count() != 1)
        return std::nullopt;
    const QKeyCombination combination = sequence[0];
    const std::optional<quint32> keysym = keysymOfQtKey(combination.key());
    if (!keysym)
        return std::nullopt;
    return Accelerator {qtModifiers(combination.keyboardModifiers()), *keysym};
}

// The first field of a kglobalshortcutsrc value: its combinations, separated by an escaped
// tab. An escaped comma belongs to a combination ("Meta+\,").
QStringList activeCombinations(const QString &value)
{
    QString field;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'\\' && i + 1 < value.size()) {
            const QChar next = value.at(++i);
            field += next == u't' ? QChar(u'\t') : next;
        } else if (c == u',') {
            break;
        } else {
            field += c;
        }
    }
    return field.split(u'\t', Qt::SkipEmptyParts);
}

QString configFile(const QString &relativePath)
{
    return QStandardPaths::locate(QStandardPaths::GenericConfigLocation, relativePath);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return !path.isEmpty() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

enum class Desktop { Other, Gnome, Kde, Xfce };

// XDG_CURRENT_DESKTOP is a colon-separated list ("ubuntu:GNOME").
Desktop currentDesktop()
{
    const QStringList names = qEnvironmentVariable("XDG_CURRENT_DESKTOP").toUpper().split(u':');
    if (names.contains(QLatin1String("GNOME")) || names.contains(QLatin1String("UNITY")))
        return Desktop::Gnome;
    if (names.contains(QLatin1String("KDE")))
        return Desktop::Kde;
    if (names.contains(QLatin1String("XFCE")))
        return Desktop::Xfce;
    return Desktop::Other;
}

} // namespace

std::optional<Accelerator> fromGtk(const QString &text)
{
    static const QRegularExpression form(QStringLiteral(R"(^((?:<[A-Za-z0-9]+>)*)([^<>]+)$)"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    Accelerator accelerator;
    static const QRegularExpression modifier(QStringLiteral("<([A-Za-z0-9]+)>"));
    for (auto it = modifier.globalMatch(match.captured(1)); it.hasNext();) {
        const std::optional<Modifiers::EventFlags> flag = gtkModifier(it.next().captured(1));
        if (!flag)
            return std::nullopt;
        accelerator.modifiers |= *flag;
    }
    const QByteArray name = match.captured(2).toUtf8();
    xkb_keysym_t keysym = xkb_keysym_from_name(name.constData(), XKB_KEYSYM_NO_FLAGS);
    if (keysym == XKB_KEY_NoSymbol)
        keysym = xkb_keysym_from_name(name.constData(), XKB_KEYSYM_CASE_INSENSITIVE);
    if (keysym == XKB_KEY_NoSymbol)
        return std::nullopt;
    // A capital letter names the key, not Shift with it.
    accelerator.keysym = xkb_keysym_to_lower(keysym);
    return accelerator;
}

QList<Accelerator> fromKdeConfig(const QString &text)
{
    QList<Accelerator> accelerators;
    for (const QString &line : text.split(u'\n')) {
        const qsizetype equals = line.indexOf(u'=');
        if (line.startsWith(u'[') || equals < 0 || line.startsWith(QLatin1String("_k_")))
            continue;
        for (const QString &combination : activeCombinations(line.mid(equals + 1))) {
            if (combination.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0)
                continue;
            if (const std::optional<Accelerator> accelerator = fromQtText(combination))
                accelerators.append(*accelerator);
        }
    }
    return accelerators;
}

QList<Accelerator> fromXfceChannel(const QByteArray &xml)
{
    // Properties named by their combination, under commands/{custom,default} and
    // xfwm4/{custom,default}.
    QList<Accelerator> sets[2]; // custom, default
    QStringList path;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement() && reader.name() == QLatin1String("property")) {
            path.removeLast();
            continue;
        }
        if (!reader.isStartElement() || reader.name() != QLatin1String("property"))
            continue;
        const QString name = reader.attributes().value(QLatin1String("name")).toString();
        const bool isCustom = path.size() == 2 && path.at(1) == QLatin1String("custom");
        const bool isDefault = path.size() == 2 && path.at(1) == QLatin1String("default");
        const bool bound = !reader.attributes().value(QLatin1String("value")).isEmpty();
        if ((isCustom || isDefault) && bound) {
            if (const std::optional<Accelerator> accelerator = fromGtk(name))
                sets[isCustom ? 0 : 1].append(*accelerator);
        }
        path.append(name);
    }
    return sets[0].isEmpty() ? sets[1] : sets[0];
}

QList<Shortcut> toShortcuts(const QList<Accelerator> &accelerators, const KeyboardLayout &layout)
{
    QList<Shortcut> shortcuts;
    for (const Accelerator &accelerator : accelerators) {
        const auto press = layout.keyForKeysym(accelerator.keysym);
        const std::optional<qint64> keyCode
            = press ? KeyCodeTable::keyCode(press->x11Keycode) : std::nullopt;
        if (!keyCode)
            continue;
        const Modifiers::EventFlags modifiers
            = accelerator.modifiers | (press->shift ? Modifiers::kShift : 0);
        shortcuts.append(Shortcut(*keyCode, Modifiers::toCarbon(modifiers)));
    }
    return shortcuts;
}

QList<Shortcut> read()
{
    const KeyboardLayout *layout = currentKeyboardLayout();
    if (!layout)
        return {};
    QList<Accelerator> accelerators;
    switch (currentDesktop()) {
    case Desktop::Gnome:
        for (const QString &text : gnomeKeybindings()) {
            if (const std::optional<Accelerator> accelerator = fromGtk(text))
                accelerators.append(*accelerator);
        }
        break;
    case Desktop::Kde:
        accelerators = fromKdeConfig(
            QString::fromUtf8(fileBytes(configFile(QStringLiteral("kglobalshortcutsrc")))));
        break;
    case Desktop::Xfce:
        accelerators = fromXfceChannel(fileBytes(configFile(
            QStringLiteral("xfce4/xfconf/xfce-perchannel-xml/xfce4-keyboard-shortcuts.xml"))));
        break;
    case Desktop::Other:
        break;
    }
    return toShortcuts(accelerators, *layout);
}

} // namespace Hotkeys::DesktopShortcuts
