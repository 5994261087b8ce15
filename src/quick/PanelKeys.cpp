// SPDX-License-Identifier: GPL-3.0-or-later
#include "quick/PanelKeys.h"

#include "hotkeys/Key.h"
#include "hotkeys/KeyCodeTable.h"

#include <QHash>

#include <optional>

namespace {

using Kind = PanelCommand::Kind;

// The characters of a key press without Ctrl's effect: Qt reports Ctrl+N with the control
// character as text, but its key code is still the letter.
QString keyCharacters(int qtKey, const QString &text)
{
    if (!text.isEmpty() && text.at(0).isPrint())
        return text;
    if (qtKey >= Qt::Key_Space && qtKey < Qt::Key_Escape) {
        const char32_t character = char32_t(qtKey);
        return QString::fromUcs4(&character, 1);
    }
    return {};
}

// 1…9 for the number-row key at this X11 keycode, else 0. Layouts such as AZERTY type symbols
// on that row unless Shift is held, and Ctrl with the key marked 1 should still pick binzo 1.
int numberRowDigit(quint32 nativeScanCode)
{
    using Hotkeys::Key;
    static constexpr Key digits[] = {Key::one, Key::two,   Key::three, Key::four, Key::five,
                                     Key::six, Key::seven, Key::eight, Key::nine};
    const std::optional<qint64> code = Hotkeys::KeyCodeTable::keyCode(nativeScanCode);
    for (int i = 0; code && i < 9; ++i) {
        if (digits[i].rawValue == *code)
            return i + 1;
    }
    return 0;
}

// The menu's key equivalents and the entry commands that take Ctrl and one key alone.
Kind ctrlKeyCommand(const QString &characters)
{
    static const QHash<QString, Kind> commands = {
        {QStringLiteral("o"), Kind::OpenPanel},    {QStringLiteral(","), Kind::OpenSettings},
        {QStringLiteral("q"), Kind::Quit},         {QStringLiteral("z"), Kind::Undo},
        {QStringLiteral("e"), Kind::EditSelected}, {QStringLiteral("r"), Kind::RevealSelected},
    };
    return commands.value(characters, Kind::None);
}

} // namespace

namespace PanelKeys {

PanelCommand command(int qtKey, Qt::KeyboardModifiers modifiers, const QString &text,
                     quint32 nativeScanCode, bool searchEmpty)
{
    // The keypad flag says where a key is, not which modifiers are held.
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    if (held & Qt::ControlModifier) {
        const QString characters = keyCharacters(qtKey, text).toLower();
        if (characters == QLatin1String("n"))
            return {Kind::NewEntry};
        bool isNumber = false;
        int digit = characters.toInt(&isNumber);
        if (!isNumber)
            digit = numberRowDigit(nativeScanCode);
        if (digit >= 1 && digit <= 9)
            return {Kind::SelectBinzo, digit - 1};
        if (held == Qt::ControlModifier) {
            if (const Kind kind = ctrlKeyCommand(characters); kind != Kind::None)
                return {kind};
        }
    }
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return {Kind::CopySelected};
    case Qt::Key_Down:
        return {Kind::SelectionDown};
    case Qt::Key_Up:
        return {Kind::SelectionUp};
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (!searchEmpty)
            return {};
        return {qtKey == Qt::Key_Backtab || (held & Qt::ShiftModifier) ? Kind::PreviousBinzo
                                                                       : Kind::NextBinzo};
    case Qt::Key_Delete:
        return {held == Qt::ShiftModifier ? Kind::DeleteSelected : Kind::None};
    case Qt::Key_F2:
        return {held == Qt::NoModifier ? Kind::EditSelected : Kind::None};
    case Qt::Key_Menu:
        return {held == Qt::NoModifier ? Kind::MenuOfSelected : Kind::None};
    case Qt::Key_F10:
        return {held == Qt::ShiftModifier ? Kind::MenuOfSelected : Kind::None};
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (!searchEmpty || held != (Qt::ControlModifier | Qt::ShiftModifier))
            return {};
        return {qtKey == Qt::Key_Left ? Kind::MoveBinzoLeft : Kind::MoveBinzoRight};
    default:
        return {};
    }
}

} // namespace PanelKeys
