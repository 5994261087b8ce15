// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/Detection.h"

#include <QString>

#include <optional>

namespace LocalDetector {

// No kind it knows is longer than this (a JWT is a few kilobytes), so a longer text is not
// examined at all: a pasted document costs nothing on every keystroke.
inline constexpr qsizetype kMaxDetectedLength = 16 * 1024;

// Recognises a value by an ordered table of anchored patterns, then a shape heuristic for
// random-looking secrets. Pure and cheap enough for every keystroke.
std::optional<Detection> detect(const QString &text);

} // namespace LocalDetector
