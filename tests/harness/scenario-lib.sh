# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers shared by the end-to-end scenarios; sourced, not run. Scripts set binzo (the app)
# and log (its output), and may set shots (a folder for screenshots), before using them.

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
panel_shown() { shown 'Binzo Quick Access'; }
panel_hidden() { hidden 'Binzo Quick Access'; }
# geometry NAME: sets X, Y, WIDTH, HEIGHT of the visible window NAME.
geometry() { eval "$(xdotool getwindowgeometry --shell "$(window_named "$1")")"; }
# xclip waits for ever when an owner does not answer; a stuck read must fail, not hang.
clipboard() { timeout 2 xclip -o -selection clipboard 2>/dev/null; }
clipboard_is() { [[ "$(clipboard)" == "$1" ]]; }
clipboard_empty() { [[ -z "$(clipboard)" ]]; }
# tray_click BUTTON [KEYS...]: clicks the tray icon, then presses KEYS in the menu it opened.
tray_click() {
  local tray X Y WIDTH HEIGHT SCREEN WINDOW
  tray=$(xwininfo -root -tree | awk '/\("binzo" "binzo"\)/ && !/Quick Access|Settings|Welcome/ \
    && !found { print $1; found = 1 }')
  [[ -n $tray ]] || fail "no tray icon"
  eval "$(xdotool getwindowgeometry --shell "$tray")"
  xdotool mousemove $((X + 11)) $((Y + 11))
  sleep 0.3
  xdotool click "$1"
  shift
  (($# == 0)) || { sleep 0.5 && xdotool key "$@"; }
}
# sql QUERY: reads the store of the current XDG folders.
sql() { sqlite3 -readonly "$XDG_DATA_HOME/binzo/binzo.sqlite3" "$1"; }
sql_is() { [[ $(sql "$1") == "$2" ]]; }
# until_sql TENTHS QUERY EXPECTED: waits for the store to answer QUERY with EXPECTED.
until_sql() { wait_until "$1" sql_is "$2" "$3"; }

# shot NAME: a screenshot of the settled screen in $shots, when set.
shot() { [[ -z ${shots:-} ]] || { mkdir -p "$shots" && sleep 0.6 && import -window root "$shots/$1.png"; }; }
# Ends the scenario with the reason, a screenshot in $shots (when set), the app's output and
# the watched bus's log in $bus (when set).
fail() {
  echo "FAIL: $*" >&2
  [[ -z ${shots:-} ]] || { mkdir -p "$shots" && import -window root "$shots/failure.png"; } || true
  echo "--- application output" >&2
  cat "$log" >&2
  [[ -z ${bus:-} ]] || { echo "--- notifications on the bus" >&2 && cat "$bus" >&2; }
  exit 1
}

started_count() { grep -c 'binzo-timing ready-to-use' "$log" || true; }
started_since() { (($(started_count) > $1)); }
# start_app [COMMAND...]: starts another instance, through COMMAND (such as env) when given,
# and waits until it is ready; its PID goes to app.
start_app() {
  local before
  before=$(started_count)
  BINZO_TRACE_TIMING=1 "$@" "$binzo" >>"$log" 2>&1 &
  app=$!
  wait_until 100 started_since "$before" || fail "the app did not start"
}
stop_app() {
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  app=
}
# Shows the panel with the shortcut and lets it settle before keys follow.
show_panel() {
  xdotool key ctrl+shift+space
  wait_until 50 panel_shown || fail "the shortcut did not show the panel"
  sleep 0.4
}
