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

# The running app and its log: scripts set binzo, log and fail before using these.
panel_shown() { xdotool search --onlyvisible --name '^Binzo Quick Access$' >/dev/null 2>&1; }
started_count() { grep -c 'binzo-timing ready-to-use' "$log" || true; }
started_since() { (($(started_count) > $1)); }
# start_app: starts another instance and waits until it is ready; its PID goes to app.
start_app() {
  local before
  before=$(started_count)
  BINZO_TRACE_TIMING=1 "$binzo" >>"$log" 2>&1 &
  app=$!
  wait_until 100 started_since "$before" || fail "the app did not start"
}
show_panel() {
  xdotool key ctrl+shift+space
  wait_until 50 panel_shown || fail "the shortcut did not show the panel"
}
