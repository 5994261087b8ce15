// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/Detection.h"

#include <QString>

#include <optional>

namespace LocalDetector {

// Recognises a value by an ordered table of anchored patterns, then a shape heuristic for
// random-looking secrets. Pure and cheap enough for every keystroke.
std::optional<Detection> detect(const QString &text);

} // namespace LocalDetector
