#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `binzo copy LABEL` while Binzo runs, timed from the command's start to its exit (the value
# is on the clipboard then), inside the test desktop:
#   bench/cli_copy_bench.sh BUILD_DIR [ROUNDS]
set -euo pipefail
build=$(cd "$1" && pwd)
rounds=${2:-20}
here=$(cd "$(dirname "$0")" && pwd)
if [[ -z ${BINZO_BENCH_INSIDE:-} ]]; then
  BINZO_BENCH_INSIDE=1 exec "$here/../tests/harness/with-desktop.sh" "$0" "$build" "$rounds"
fi

binzo=$build/src/app/binzo
stats() { sort -n | awk '{ v[NR] = $1 } END { printf "median %.1f  min %.1f  max %.1f (n=%d)", v[int((NR + 1) / 2)], v[1], v[NR], NR }'; }
time_copies() {
  for _ in $(seq "$rounds"); do
    local started=$(date +%s%N)
    "$binzo" copy "$1" >/dev/null 2>&1
    echo "$started $(date +%s%N)" | awk '{ printf "%.1f\n", ($2 - $1) / 1e6 }'
  done
}

printf '%s\n' "+41 79 555 01 23" | "$binzo" add --binzo Personal --label Phone >/dev/null 2>&1
printf '%s\n' "sk_live_0123456789abcdefXYZ" | "$binzo" add --binzo "API Keys" --label Stripe >/dev/null 2>&1
log=$(mktemp)
BINZO_TRACE_TIMING=1 "$binzo" >"$log" 2>&1 &
app=$!
until grep -q 'binzo-timing ready-to-use' "$log"; do sleep 0.01; done
sleep 1
echo "binzo copy, Binzo running, ordinary value (ms): $(time_copies Phone | stats)"
echo "binzo copy, Binzo running, sensitive value (ms): $(time_copies Stripe | stats)"
kill "$app"
wait "$app" 2>/dev/null || true
echo "binzo copy, no Binzo running, ordinary value (ms): $(time_copies Phone | stats)"
