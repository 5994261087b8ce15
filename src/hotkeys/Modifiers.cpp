// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/Modifiers.h"

#include <array>

namespace Hotkeys::Modifiers {

namespace {

struct Modifier
{
    EventFlags flag;
    CarbonFlags carbon;
    quint64 qt;
    const char16_t *symbol;
};

// In the order of the symbolic representation. Function has no Qt modifier.
constexpr std::array<Modifier, 5> kModifiers = {{
    {kControl, kCarbonControl, Qt::MetaModifier, u"\u2303"},
    {kOption, kCarbonOption, Qt::AltModifier, u"\u2325"},
    {kShift, kCarbonShift, Qt::ShiftModifier, u"\u21E7"},
    {kCommand, kCarbonCommand, Qt::ControlModifier, u"\u2318"},
    {kFunction, kCarbonFunction, 0, u"\U0001F310\uFE0E"},
}};

// Maps each of the five modifiers present in one encoding to the other; other bits vanish.
template<typename From, typename To> To convert(From value, From Modifier::*from, To Modifier::*to)
{
    To result = 0;
    for (const Modifier &modifier : kModifiers) {
        if (value & modifier.*from)
            result |= modifier.*to;
    }
    return result;
}

} // namespace

CarbonFlags toCarbon(EventFlags flags)
{
    return convert(flags, &Modifier::flag, &Modifier::carbon);
}

EventFlags fromCarbon(CarbonFlags carbon)
{
    return convert(carbon, &Modifier::carbon, &Modifier::flag);
}

CarbonFlags normalized(CarbonFlags carbon)
{
    return toCarbon(fromCarbon(carbon));
}

EventFlags fromQt(Qt::KeyboardModifiers modifiers)
{
    return convert(quint64(modifiers.toInt()), &Modifier::qt, &Modifier::flag);
}

Qt::KeyboardModifiers toQt(EventFlags flags)
{
    return Qt::KeyboardModifiers::fromInt(int(convert(flags, &Modifier::flag, &Modifier::qt)));
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
