// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// With BINZO_TRACE_TIMING=1, prints "binzo-timing <mark> <monotonic ms>" on standard error, for
// the benchmarks in bench/. Otherwise does nothing.
namespace TimingTrace {

bool enabled();
void mark(const char *what);

} // namespace TimingTrace
