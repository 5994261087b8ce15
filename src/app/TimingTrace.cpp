// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TimingTrace.h"

#include <QtGlobal>

#include <cstdio>
#include <ctime>

namespace TimingTrace {

bool enabled()
{
    static const bool on = qEnvironmentVariableIntValue("BINZO_TRACE_TIMING") == 1;
    return on;
}

void mark(const char *what)
{
    if (!enabled())
        return;
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "binzo-timing %s %.3f\n", what,
                 double(now.tv_sec) * 1e3 + now.tv_nsec / 1e6);
    std::fflush(stderr);
}

} // namespace TimingTrace
