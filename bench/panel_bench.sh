#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Panel latency and cost, measured on the real app inside the test desktop:
#   bench/panel_bench.sh BUILD_DIR [ROUNDS]
# Prints, for the software scene graph (the default without a chosen backend) and for OpenGL
# (llvmpipe without a GPU):
#   - start-up to ready (tray item shown, hot key grabbed), idle resident memory;
#   - in-app latency from the hot key to the first painted frame, to the search field taking
#     keys (routing in place) and to the window manager's focus, median/min/max of ROUNDS;
#   - CPU time per show and hide;
#   - `binzo binzo://open` beside `copyq show` (CopyQ is installed for this benchmark only),
#     both timed from the command's start until the window is viewable.
set -euo pipefail
build=$(cd "$1" && pwd)
rounds=${2:-20}
here=$(cd "$(dirname "$0")" && pwd)
if [[ -z ${BINZO_BENCH_INSIDE:-} ]]; then
  if ! command -v copyq >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends copyq >/dev/null
  fi
  BINZO_BENCH_INSIDE=1 exec "$here/../tests/harness/with-desktop.sh" "$0" "$build" "$rounds"
fi

binzo=$build/src/app/binzo
"$build/tests/app/seed_vault" >/dev/null 2>&1 || true
export BINZO_TRACE_TIMING=1

now_ms() { date +%s%3N; }
stats() { sort -n | awk '{ v[NR] = $1 } END { printf "median %.1f  min %.1f  max %.1f (n=%d)", v[int((NR + 1) / 2)], v[1], v[NR], NR }'; }
panel_shown() { xdotool search --onlyvisible --name '^Binzo Quick Access$' >/dev/null 2>&1; }
panel_hidden() { ! panel_shown; }
# CopyQ's tray icon is a viewable window of its class too: its main window makes two.
copyq_shown() { (($(xdotool search --onlyvisible --class copyq 2>/dev/null | wc -l) >= 2)); }
copyq_hidden() { ! copyq_shown; }
# wait_for COMMAND: polls for up to 4 s; each poll (an xdotool run) takes a few ms itself.
wait_for() { for _ in $(seq 800); do "$@" && return 0; sleep 0.002; done; return 1; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
rss_mib() { awk '/VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }

run_variant() {
  local name=$1 log
  log=$(mktemp)
  local started
  started=$(now_ms)
  "$binzo" >"$log" 2>&1 &
  local app=$!
  until grep -q 'binzo-timing ready-to-use' "$log"; do sleep 0.01; done
  echo "[$name] start-up to ready: $(($(now_ms) - started)) ms (includes process start)"
  sleep 2
  echo "[$name] idle resident memory: $(rss_mib "$app") MiB"

  local ticks_before
  ticks_before=$(cpu_ticks "$app")
  for _ in $(seq "$rounds"); do
    xdotool key ctrl+shift+space
    wait_for panel_shown
    sleep 0.6
    xdotool key Escape
    wait_for panel_hidden
    sleep 0.2
  done
  local ticks=$(($(cpu_ticks "$app") - ticks_before))
  local hz
  hz=$(getconf CLK_TCK)
  # The idle time between rounds costs next to nothing; the xdotool keys are other processes.
  echo "[$name] CPU per show and hide: $(awk -v t="$ticks" -v hz="$hz" -v n="$rounds" 'BEGIN { printf "%.1f", t * 1000 / hz / n }') ms"
  echo "[$name] resident memory after $rounds shows: $(rss_mib "$app") MiB"

  awk '
    $2 == "hotkey" { h = $3; f = r = a = 0 }
    $2 == "ready" && h { printf "ready %.3f\n", $3 - h }
    $2 == "frame" && h && !f { printf "frame %.3f\n", $3 - h; f = 1 }
    $2 == "active" && h && !a { printf "active %.3f\n", $3 - h; a = 1 }
  ' "$log" >"$log.lat"
  echo "[$name] hot key -> first frame:   $(awk '$1 == "frame" { print $2 }' "$log.lat" | stats) ms"
  echo "[$name] hot key -> field takes keys: $(awk '$1 == "ready" { print $2 }' "$log.lat" | stats) ms"
  echo "[$name] hot key -> window focused: $(awk '$1 == "active" { print $2 }' "$log.lat" | stats) ms"

  local samples=()
  for _ in $(seq "$rounds"); do
    local t0
    t0=$(now_ms)
    env -u BINZO_TRACE_TIMING "$binzo" binzo://open
    wait_for panel_shown
    samples+=($(($(now_ms) - t0)))
    xdotool key Escape
    wait_for panel_hidden
    sleep 0.2
  done
  echo "[$name] 'binzo binzo://open' to viewable: $(printf '%s\n' "${samples[@]}" | stats) ms"
  kill "$app"
  wait "$app" 2>/dev/null || true
}

QT_QUICK_BACKEND=software run_variant software
QSG_RHI_BACKEND=opengl run_variant opengl-llvmpipe

if command -v copyq >/dev/null; then
  copyq >/dev/null 2>&1 &
  copyq_pid=$!
  sleep 3
  samples=()
  for _ in $(seq "$rounds"); do
    t0=$(now_ms)
    copyq show >/dev/null 2>&1
    wait_for copyq_shown || true
    samples+=($(($(now_ms) - t0)))
    copyq hide >/dev/null 2>&1
    wait_for copyq_hidden
    sleep 0.2
  done
  echo "[copyq] 'copyq show' to viewable: $(printf '%s\n' "${samples[@]}" | stats) ms"
  kill "$copyq_pid" 2>/dev/null || true
fi
