// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DataController.h"

DataController::~DataController() = default;
