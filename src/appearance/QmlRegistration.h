// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QQmlEngine;

// Makes module "Binzo" 1.0 (singleton Theme, item NeuSurface, the editors' types) available
// and adds the "symbol" image provider to this engine. Call once per engine before loading
// QML.
void registerQmlTypes(QQmlEngine &engine);
