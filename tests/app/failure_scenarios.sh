#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Failures away from any window reach the user: the real app inside with-desktop.sh, with the
# session bus watched for notifications (no notification service runs here, so every call is
# seen on the bus and the app falls back to its tray icon).
#   failure_scenarios.sh BINZO HOLD_GRAB
set -euo pipefail
source "$(dirname "$0")/../harness/scenario-lib.sh"

binzo=$1
hold_grab=$2
scratch=$(mktemp -d)
log=$scratch/app.log
bus=$scratch/bus.log
prefs=$XDG_CONFIG_HOME/binzo/preferences.json
app=
helpers=()
cleanup() {
  stop_app
  for pid in "${helpers[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT

notified() { grep -qF -- "$1" "$bus"; }

dbus-monitor --session "interface='org.freedesktop.Notifications',member='Notify'" >"$bus" 2>&1 &
helpers+=($!)
: >"$log"
mkdir -p "$(dirname "$prefs")"
echo '{"binzo.hasOnboarded": true}' >"$prefs"

step "a shortcut another program holds is told with a way to Settings, and logged"
"$hold_grab" 65 5 >"$scratch/holder" & # Ctrl+Shift+Space
helpers+=($!)
wait_until 50 grep -q ready "$scratch/holder" || fail "could not hold Ctrl+Shift+Space"
start_app
wait_until 50 notified \
  'string "Ctrl+Shift+Space is used by another program. Choose another shortcut in Settings."' \
  || fail "no notification for the taken shortcut"
notified 'string "Open Settings"' || fail "the notification offers no way to Settings"
grep -qx 'Error registering hotkey Ctrl+Shift+Space: 10' "$log" || fail "no log line"
stop_app
kill "${helpers[-1]}"

step "preferences that cannot be used are told at start; the default shortcut works"
echo '{"binzo.hasOnboarded": true, "binzo.secretBackend": "vault",
       "Hotkeys_togglePanel": "ctrl+space"}' >"$prefs"
start_app
wait_until 50 notified '"vault"' || fail "no notification for the unknown secret store"
notified 'Hotkeys_togglePanel could not be read, so Ctrl+Shift+Space is used instead' \
  || fail "no notification for the unreadable shortcut"
xdotool key ctrl+shift+space
wait_until 50 panel_shown || fail "the default shortcut does not open the panel"
[[ $(jq -r '."binzo.secretBackend"' "$prefs") == vault ]] || fail "the user's text was replaced"
stop_app

step "without XDG_RUNTIME_DIR, a folder others can write is refused by name and Binzo starts alone"
folder=$scratch/binzo-$(id -u)
mkdir "$folder"
chmod 0777 "$folder"
start_app env -u XDG_RUNTIME_DIR TMPDIR="$scratch"
grep -qF "$folder can be written by other users" "$log" || fail "the folder is not named"
wait_until 50 notified "$folder can be written by other users" || fail "no notification"
[[ ! -e $folder/binzo.lock ]] || fail "the unsafe folder was used"
stop_app

echo "all failure scenarios passed"
