#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The quick panel end to end, driving the real app with xdotool inside with-desktop.sh:
#   panel_scenarios.sh BINZO SEED_VAULT [SCREENSHOT_DIR]
set -euo pipefail
source "$(dirname "$0")/../harness/scenario-lib.sh"

binzo=$1
seed=$2
shots=${3:-}
log=$(mktemp)
app=


hide_panel() {
  xdotool key Escape
  wait_until 50 panel_hidden || fail "Escape did not hide the panel"
}
# copy_with KEYS...: types into a fresh panel, presses Return, and checks the panel leaves
# about 0.55 s later.
copy_with() {
  xdotool key ctrl+shift+space "$@"
  wait_until 50 panel_shown || fail "the panel did not show"
  sleep 0.2
  local before=$(date +%s%N)
  xdotool key Return
  wait_until 50 panel_hidden || fail "the panel stayed after copying"
  local elapsed=$((($(date +%s%N) - before) / 1000000))
  ((elapsed >= 500 && elapsed < 3000)) || fail "the panel left ${elapsed} ms after Return"
}

step "without a display the app says so in one line and fails"
if out=$(env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$(mktemp -d)" "$binzo" 2>&1); then
  fail "started without a display"
fi
[[ $(printf '%s\n' "$out" | wc -l) == 1 && $out == *display* ]] || fail "unexpected message: $out"

step "seeded vault, tour already seen"
"$seed" >/dev/null || (($? == 3)) || fail "could not seed the vault"
start_app
panel_hidden || fail "the panel showed at start-up"

step "the shortcut shows the panel centred on the pointer's screen, a tenth above the middle"
xdotool mousemove 900 500
show_panel
read -r width height < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
geometry 'Binzo Quick Access'
# The window holds a 48 x 36 shadow margin around the 460 x 520 content.
((X + 48 == width / 2 - 230)) || fail "panel x is $X"
((Y + 36 == height / 2 - 260 - height / 10)) || fail "panel y is $Y"
if [[ -n $shots ]]; then
  sleep 0.8 # let the spring settle
  mkdir -p "$shots" && import -window root "$shots/panel-light.png"
fi
hide_panel

step "keys typed right after the shortcut reach the search; Return copies and closes"
copy_with type email
wait_until 10 clipboard_is "ada@example.org" || fail "clipboard holds '$(clipboard)'"

step "Down moves the selection; the last used entry comes first in its binzo"
copy_with Down
wait_until 10 clipboard_is "+41 79 555 01 23" || fail "Down then Return copied '$(clipboard)'"
copy_with
wait_until 10 clipboard_is "+41 79 555 01 23" || fail "the last used entry is not first"

step "on a French layout, Ctrl with the key marked 3 picks the third binzo"
setxkbmap fr
# The app learns of the new keymap from an X event it handles in its own time.
sleep 0.5
copy_with ctrl+quotedbl
setxkbmap us
wait_until 10 clipboard_is "CH93 0076 2011 6238 5295 7" || fail "Ctrl+\" copied '$(clipboard)'"

step "a click inside the panel keeps it; a click in another window hides it"
xmessage -geometry 300x80+20+680 "another application" &
other=$!
wait_until 50 shown xmessage || fail "no xmessage"
xdotool mousemove 640 300
show_panel
xdotool mousemove 560 100 click 1
sleep 0.4
panel_shown || fail "a click inside the panel hid it"
xdotool mousemove 120 720 click 1
wait_until 50 panel_hidden || fail "a click in another window did not hide the panel"
kill "$other"

step "a second process hands binzo://open to the running one"
before=$(date +%s%N)
"$binzo" binzo://open || fail "forwarding failed"
elapsed=$((($(date +%s%N) - before) / 1000000))
echo "second process took ${elapsed} ms"
wait_until 50 panel_shown || fail "binzo://open did not show the panel"
hide_panel
"$binzo" binzo://close || fail "forwarding binzo://close failed"
sleep 0.4
panel_hidden || fail "binzo://close showed the panel"

step "the tray icon and its menu open the panel"
tray_click 1
wait_until 50 panel_shown || fail "a left click on the tray icon did not show the panel"
hide_panel
tray_click 3 Down Return
wait_until 50 panel_shown || fail "Open Binzo in the tray menu did not show the panel"
hide_panel

step "Quit Binzo ends the process"
tray_click 3 Up Return
wait_until 30 bash -c "! kill -0 $app 2>/dev/null" || fail "Quit Binzo did not end the app"
quit_status=0
wait "$app" || quit_status=$?
((quit_status == 0)) || fail "the app ended with status $quit_status after Quit Binzo"
echo "all panel scenarios passed"
