#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A day of use from the keyboard, driving the real app with xdotool inside with-desktop.sh:
# deleting and undoing, editing, moving an entry, reordering and deleting binzos, dragging the
# panel, the menu's key equivalents and a second start. With "large-text" (run it on a
# 1366x768 screen) it checks instead that the panel at QT_FONT_DPI=144 stays on the screen.
#   keyboard_scenarios.sh BINZO SEED_VAULT [SCREENSHOT_DIR] [large-text]
set -euo pipefail
source "$(dirname "$0")/../harness/scenario-lib.sh"

binzo=$1
seed=$2
shots=${3:-}
mode=${4:-}
log=$(mktemp)
app=

trap stop_app EXIT
# entry LABEL: the stored row of the entry with that label.
entry() { sql "SELECT id, label, ifnull(inlineValue, ''), isSensitive, binzoID, createdAt, \
  updatedAt, ifnull(lastUsedAt, ''), useCount FROM Entry WHERE label = '$1'"; }
binzo_id() { sql "SELECT id FROM Binzo WHERE name = '$1'"; }

"$seed" --many-binzos >/dev/null || (($? == 3)) || fail "could not seed the vault"

if [[ $mode == large-text ]]; then
  step "at QT_FONT_DPI=144 the whole panel stays on a 1366x768 screen"
  QT_FONT_DPI=144 start_app
  xdotool mousemove 1300 700
  show_panel
  geometry 'Binzo Quick Access'
  # The window holds a 48, 36, 48, 68 shadow margin around the content, 1.5 times as large on
  # screen; the content keeps its width.
  read -r left top right bottom < <(awk -v x="$X" -v y="$Y" -v w="$WIDTH" -v h="$HEIGHT" \
    'BEGIN { s = w / 556; print x + 48 * s, y + 36 * s, x + w - 48 * s, y + h - 68 * s }')
  echo "content on screen: $left,$top to $right,$bottom"
  awk -v l="$left" -v t="$top" -v r="$right" -v b="$bottom" \
    'BEGIN { exit !(l >= 0 && t >= 0 && r <= 1366 && b <= 768) }' \
    || fail "the panel leaves the screen: $left,$top to $right,$bottom"
  xdotool key ctrl+7
  shot panel-large-text
  echo "the large-text scenario passed"
  exit 0
fi

step "--help and --version answer without starting anything"
"$binzo" --version | grep -qx 'binzo 1.0.0' || fail "--version printed something else"
"$binzo" --help | grep -q '^Usage: binzo' || fail "--help printed no usage"
[[ ! -e $XDG_RUNTIME_DIR/binzo/binzo.lock ]] || fail "--help or --version took the lock"

start_app
! grep -i 'qml\|warning' "$log" || fail "warnings at start"

step "Shift+Delete deletes the selected entry, Ctrl+Z brings it back as it was"
show_panel
before=$(entry Email)
[[ -n $before ]] || fail "no Email entry to start with"
xdotool key shift+Delete
until_sql 30 "SELECT count(*) FROM Entry WHERE label = 'Email'" 0 || fail "Shift+Delete kept Email"
shot undo-toast
xdotool key ctrl+z
until_sql 30 "SELECT count(*) FROM Entry WHERE label = 'Email'" 1 || fail "Ctrl+Z did not restore"
[[ $(entry Email) == "$before" ]] || fail "restored as $(entry Email), was $before"

step "F2 edits the selected entry"
xdotool key F2
sleep 0.6
xdotool key ctrl+a
xdotool type --delay 20 'Email address'
xdotool key Return
until_sql 30 "SELECT count(*) FROM Entry WHERE label = 'Email address'" 1 \
  || fail "F2 did not edit the entry"

step "the Menu key's Move to files the entry under another binzo"
sleep 0.4
xdotool key Menu
sleep 0.5
shot row-menu
xdotool key Down Down Right
sleep 0.4
shot row-menu-move-to
xdotool key Return # the first other binzo: API Keys
until_sql 30 "SELECT binzoID FROM Entry WHERE label = 'Email address'" "$(binzo_id 'API Keys')" \
  || fail "Move to did not move the entry"

step "Ctrl+Shift+Right moves the current binzo one tab to the right, for good"
xdotool key ctrl+1 ctrl+shift+Right
order="SELECT group_concat(name, ',') FROM (SELECT name FROM Binzo ORDER BY sortIndex LIMIT 3)"
until_sql 30 "$order" "API Keys,Personal,Bank" || fail "the order is $(sql "$order")"

step "Delete Binzo… asks, then takes the binzo with its entries"
geometry 'Binzo Quick Access'
# The first tab (API Keys) sits at the start of the strip, 48 x 36 inside the window.
tab_x=$((X + 48 + 40))
tab_y=$((Y + 36 + 101))
xdotool mousemove $tab_x $tab_y click 3
sleep 0.5
xdotool mousemove $((tab_x + 40)) $((tab_y + 104)) click 1
sleep 0.5
shot delete-binzo
keys_id=$(binzo_id 'API Keys')
xdotool key Return
until_sql 30 "SELECT count(*) FROM Binzo WHERE name = 'API Keys'" 0 || fail "API Keys was not deleted"
[[ $(sql "SELECT count(*) FROM Entry WHERE binzoID = '$keys_id'") == 0 ]] \
  || fail "entries of the deleted binzo are left"
[[ $(sql "SELECT count(*) FROM Entry") == 2 ]] || fail "other binzos' entries were touched"

step "dragging the background moves the panel; the next showing places it anew"
geometry 'Binzo Quick Access'
placed_x=$X
placed_y=$Y
# The gap between the search field and the tabs is background.
xdotool mousemove $((X + 48 + 230)) $((Y + 36 + 71)) mousedown 1
for step in 1 2 3 4 5 6; do
  xdotool mousemove_relative -- -20 10
  sleep 0.05
done
xdotool mouseup 1
sleep 0.5
geometry 'Binzo Quick Access'
((X < placed_x - 60 && Y > placed_y + 30)) || fail "the panel did not follow the drag: $X,$Y"
panel_shown || fail "dragging hid the panel"
xdotool key Escape
wait_until 30 panel_hidden || fail "Escape did not hide the panel"
show_panel
geometry 'Binzo Quick Access'
((X == placed_x && Y == placed_y)) || fail "shown at $X,$Y instead of $placed_x,$placed_y"

step "Ctrl+, opens Settings from the panel"
xdotool key ctrl+comma
wait_until 30 shown 'Binzo Settings' || fail "Ctrl+, did not open Settings"
xdotool windowclose "$(window_named 'Binzo Settings')" 2>/dev/null || true

step "starting Binzo again opens the running one's panel"
wait_until 30 panel_hidden || fail "the panel stayed open over Settings"
"$binzo" || fail "the second start failed"
wait_until 50 panel_shown || fail "the second start did not open the panel"

step "Ctrl+Q quits"
xdotool key ctrl+q
wait_until 50 bash -c "! kill -0 $app 2>/dev/null" || fail "Ctrl+Q did not quit"
echo "all keyboard scenarios passed"
