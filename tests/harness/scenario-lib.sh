# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers shared by the end-to-end scenarios; sourced, not run.

step() { echo "== $*"; }

# wait_until TENTHS COMMAND...: polls every 50 ms for TENTHS tenths of a second.
wait_until() {
  local tries=$(($1 * 2))
  shift
  for _ in $(seq "$tries"); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}

# The first visible window titled exactly NAME, if any.
window_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
shown() { [[ -n $(window_named "$1") ]]; }
hidden() { ! shown "$1"; }
# geometry NAME: sets X, Y, WIDTH, HEIGHT of the visible window NAME.
geometry() { eval "$(xdotool getwindowgeometry --shell "$(window_named "$1")")"; }
# sql QUERY: reads the store of the current XDG folders.
sql() { sqlite3 -readonly "$XDG_DATA_HOME/binzo/binzo.sqlite3" "$1"; }

# Ends the scenario with the reason, a screenshot in $shots (when set) and the app's output.
fail() {
  echo "FAIL: $*" >&2
  [[ -z $shots ]] || { mkdir -p "$shots" && import -window root "$shots/failure.png"; } || true
  echo "--- application output" >&2
  cat "$log" >&2
  exit 1
}
# Starts the app at $binzo with its output in $log and keeps its PID in $app.
start_app() {
  BINZO_TRACE_TIMING=1 "$binzo" >>"$log" 2>&1 &
  app=$!
  wait_until 100 grep -q 'binzo-timing ready-to-use' "$log" || fail "the app did not start"
}
stop_app() {
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
}
