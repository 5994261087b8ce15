// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/recorder/RecorderServices.h"

namespace Hotkeys {

namespace {

RecorderServices &services()
{
    static RecorderServices instance;
    return instance;
}

} // namespace

const RecorderServices &recorderServices()
{
    return services();
}

void setRecorderServices(RecorderServices newServices)
{
    services() = std::move(newServices);
}

} // namespace Hotkeys
