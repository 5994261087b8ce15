#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# First start, the editors and the settings end to end, driving the real app with xdotool
# inside with-desktop.sh:
#   editors_scenarios.sh BINZO [SCREENSHOT_DIR]
set -euo pipefail
source "$(dirname "$0")/../harness/scenario-lib.sh"

binzo=$1
shots=${2:-}
log=$(mktemp)
app=
prefs=$XDG_CONFIG_HOME/binzo/preferences.json
db=$XDG_DATA_HOME/binzo/binzo.sqlite3
iban=DE89370400440532013000

preference() { jq -c --arg key "$1" '.[$key]' "$prefs" 2>/dev/null; }

trap stop_app EXIT

step "the first start shows the welcome tour as an ordinary window"
start_app
wait_until 100 shown 'Welcome to Binzo' || fail "no welcome tour at the first start"
! grep -i 'qml\|warning' "$log" || fail "warnings at the first start"
tour=$(window_named 'Welcome to Binzo')
xprop -id "$tour" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_NORMAL \
  || fail "the tour is not an ordinary window"
xprop -id "$tour" WM_TRANSIENT_FOR | grep -q 'not found' || fail "the tour is a transient window"
geometry 'Welcome to Binzo'
((WIDTH == 540 && HEIGHT == 440)) || fail "the tour is ${WIDTH}x${HEIGHT}"
panel_hidden || fail "the panel showed before the tour ended"
shot tour-0

step "closing the tour is refused"
xdotool windowactivate --sync "$tour" key alt+F4
sleep 0.4
shown 'Welcome to Binzo' || fail "the tour could be closed"

step "Return four times finishes the tour and shows the panel"
xdotool windowactivate --sync "$tour"
for page in 1 2 3; do
  xdotool key Return
  shot "tour-$page"
done
[[ $(preference binzo.hasOnboarded) != true ]] || fail "the tour was recorded before its end"
xdotool key Return
wait_until 30 hidden 'Welcome to Binzo' || fail "the tour stayed open after its last page"
[[ $(preference binzo.hasOnboarded) == true ]] || fail "binzo.hasOnboarded is $(preference binzo.hasOnboarded)"
wait_until 30 panel_shown || fail "the panel did not open after the tour"
sleep 0.4

step "Ctrl+N, a pasted IBAN and Apply file a secret in Bank"
printf %s "$iban" | xclip -selection clipboard
xdotool key ctrl+n
sleep 0.8
xdotool key Tab ctrl+v
shot entry-suggestion
xdotool key Tab space
shot entry-applied
xdotool key Return
until_sql 20 'SELECT count(*) FROM Entry' 1 || fail "no entry was stored"
IFS='|' read -r id label inline sensitive holder < <(sql "SELECT e.id, e.label, \
  ifnull(e.inlineValue, ''), e.isSensitive, b.name FROM Entry e JOIN Binzo b ON b.id = e.binzoID")
[[ $label == IBAN && $sensitive == 1 && $holder == Bank && -z $inline ]] \
  || fail "stored label=$label sensitive=$sensitive binzo=$holder inline=${inline:+(set)}"
secret=$(secret-tool lookup service com.qorvastine.binzo.secrets account "${id^^}") \
  || fail "no keyring item for $id"
[[ $secret == "$iban" ]] || fail "the keyring holds another value"
! grep -q "$iban" "$db"* || fail "the IBAN is in the database files"
shot panel-after-add

step "a megabyte middle-clicked or pasted into the value field is refused at once"
head -c 1048576 /dev/zero | tr '\0' x | xclip -selection primary
head -c 1048576 /dev/zero | tr '\0' y | xclip -selection clipboard
xdotool key ctrl+n
sleep 0.8
geometry 'Binzo Quick Access'
# The value field of the sheet; the panel's content starts 48 x 36 inside its window.
xdotool mousemove $((X + 278)) $((Y + 292)) click 2
xdotool key ctrl+v
shot entry-too-long
# A field that took the text would keep the app busy for minutes.
xdotool key Escape Escape
wait_until 30 panel_hidden || fail "the app stopped answering after a megabyte was pasted"
[[ $(sql 'SELECT count(*) FROM Entry') == 1 ]] || fail "something was stored"
printf %s "$iban" | xclip -selection clipboard
xdotool key ctrl+shift+space
wait_until 30 panel_shown || fail "the panel did not show again"
sleep 0.4

step "a binzo made through the plus button becomes the current tab"
geometry 'Binzo Quick Access'
# The panel's content starts 48 x 36 inside its window; the plus sits at the strip's end.
xdotool mousemove $((X + 48 + 423)) $((Y + 36 + 101)) click 1
sleep 0.8
shot binzo-sheet
xdotool type --delay 30 'Work'
xdotool key Return
until_sql 20 "SELECT count(*) FROM Binzo WHERE name = 'Work'" 1 || fail "no binzo Work was stored"
sleep 0.3
xdotool key ctrl+n
sleep 0.8
xdotool type --delay 30 'Desk'
xdotool key Tab
xdotool type --delay 30 '42'
xdotool key Return
until_sql 20 "SELECT b.name FROM Entry e JOIN Binzo b ON b.id = e.binzoID WHERE e.label = 'Desk'" Work \
  || fail "Ctrl+N after creating Work did not add to Work: the new binzo is not the current tab"
shot panel-after-binzo
xdotool key Escape
wait_until 20 panel_hidden || fail "Escape did not hide the panel"

step "settings: one window; the recorder takes our own shortcut; recording Ctrl+Alt+B moves it"
open_settings() {
  tray_click 3 Down Down Return
  wait_until 30 shown 'Binzo Settings' || fail "Settings… did not open the settings window"
}
open_settings
open_settings
(($(xdotool search --onlyvisible --name '^Binzo Settings$' | wc -l) == 1)) \
  || fail "opening settings twice made two windows"
geometry 'Binzo Settings'
((WIDTH == 500 && HEIGHT == 540)) || fail "the settings window is ${WIDTH}x${HEIGHT}"
shot settings-general
xdotool mousemove $((X + 386)) $((Y + 265)) click 1
sleep 0.3
# Our own combination reaches the recorder, which records it and stops recording.
xdotool key ctrl+shift+space
sleep 0.4
panel_hidden || fail "the old shortcut toggled the panel while the recorder was recording"
xdotool key ctrl+alt+b
sleep 0.4
[[ $(jq -r '.Hotkeys_togglePanel' "$prefs") != *'"carbonKeyCode":11,'* ]] \
  || fail "the recorder was still recording after Ctrl+Shift+Space"
xdotool mousemove $((X + 386)) $((Y + 265)) click 1
sleep 0.3
xdotool key ctrl+alt+b
wait_until 20 bash -c "[[ \$(jq -r '.Hotkeys_togglePanel' '$prefs') == \
  '{\"carbonKeyCode\":11,\"carbonModifiers\":2304}' ]]" \
  || fail "Hotkeys_togglePanel is $(preference Hotkeys_togglePanel)"
shot settings-recorded
xdotool key ctrl+alt+b
wait_until 20 panel_shown || fail "Ctrl+Alt+B did not show the panel"
xdotool key ctrl+alt+b
wait_until 20 panel_hidden || fail "Ctrl+Alt+B did not hide the panel"
xdotool key ctrl+shift+space
sleep 0.5
panel_hidden || fail "Ctrl+Shift+Space still toggles the panel"

echo "all editors scenarios passed"
