// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/Modifiers.h"

#include <array>

namespace Hotkeys::Modifiers {

namespace {

struct Modifier
{
    EventFlags flag;
    CarbonFlags carbon;
    Qt::KeyboardModifier qt;
    const char16_t *symbol;
};

// In the order of the symbolic representation.
constexpr std::array<Modifier, 5> kModifiers = {{
    {kControl, kCarbonControl, Qt::MetaModifier, u"\u2303"},
    {kOption, kCarbonOption, Qt::AltModifier, u"\u2325"},
    {kShift, kCarbonShift, Qt::ShiftModifier, u"\u21E7"},
    {kCommand, kCarbonCommand, Qt::ControlModifier, u"\u2318"},
    {kFunction, kCarbonFunction, Qt::NoModifier, u"\U0001F310\uFE0E"},
}};

} // namespace

CarbonFlags toCarbon(EventFlags flags)
{
    CarbonFlags carbon = 0;
    for (const Modifier &modifier : kModifiers) {
        if (flags & modifier.flag)
            carbon |= modifier.carbon;
    }
    return carbon;
}

EventFlags fromCarbon(CarbonFlags carbon)
{
    EventFlags flags = 0;
    for (const Modifier &modifier : kModifiers) {
        if (carbon & modifier.carbon)
            flags |= modifier.flag;
    }
    return flags;
}

CarbonFlags normalized(CarbonFlags carbon)
{
    return toCarbon(fromCarbon(carbon));
}

EventFlags fromQt(Qt::KeyboardModifiers modifiers)
{
    EventFlags flags = 0;
    for (const Modifier &modifier : kModifiers) {
        if (modifier.qt != Qt::NoModifier && modifiers.testFlag(modifier.qt))
            flags |= modifier.flag;
    }
    return flags;
}

Qt::KeyboardModifiers toQt(EventFlags flags)
{
    Qt::KeyboardModifiers modifiers;
    for (const Modifier &modifier : kModifiers) {
        if (flags & modifier.flag)
            modifiers |= modifier.qt;
    }
    return modifiers;
}

QString symbolicRepresentation(EventFlags flags)
{
    QString text;
    for (const Modifier &modifier : kModifiers) {
        if (flags & modifier.flag)
            text += QString::fromUtf16(modifier.symbol);
    }
    return text;
}

} // namespace Hotkeys::Modifiers
