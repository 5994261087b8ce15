// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <Qt>

// A modifier set has two encodings: event flags (the in-process form) and Carbon bits (the
// stored form and the hot-key layer's). Both keep their historic values so stored shortcuts
// stay portable. On Linux, Command is Ctrl, Control is Super (Qt's Meta), Option is Alt;
// Function has no key here and never comes from a Linux key event.
namespace Hotkeys::Modifiers {

using EventFlags = quint64;
using CarbonFlags = qint64;

inline constexpr EventFlags kControl = 0x40000;
inline constexpr EventFlags kOption = 0x80000;
inline constexpr EventFlags kShift = 0x20000;
inline constexpr EventFlags kCommand = 0x100000;
inline constexpr EventFlags kFunction = 0x800000;

inline constexpr CarbonFlags kCarbonControl = 0x1000;
inline constexpr CarbonFlags kCarbonOption = 0x800;
inline constexpr CarbonFlags kCarbonShift = 0x200;
inline constexpr CarbonFlags kCarbonCommand = 0x100;
inline constexpr CarbonFlags kCarbonFunction = 0x20000;

// Each conversion maps exactly the five modifiers and drops every other bit.
CarbonFlags toCarbon(EventFlags flags);
EventFlags fromCarbon(CarbonFlags carbon);
// From-Carbon then to-Carbon: only the five Carbon bits survive.
CarbonFlags normalized(CarbonFlags carbon);

EventFlags fromQt(Qt::KeyboardModifiers modifiers);
// Function has no Qt modifier and is dropped.
Qt::KeyboardModifiers toQt(EventFlags flags);

// The symbols in the fixed order control, option, shift, command, function.
QString symbolicRepresentation(EventFlags flags);

} // namespace Hotkeys::Modifiers
