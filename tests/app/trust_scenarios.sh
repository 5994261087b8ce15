#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Nothing the user typed is lost and no secret is left behind, driving the real app with
# xdotool inside with-desktop.sh: an entry added while another program holds the database,
# a recognised token saved with a plain Return, a copied secret, and quitting.
#   trust_scenarios.sh BINZO SEED_VAULT
set -euo pipefail
source "$(dirname "$0")/../harness/scenario-lib.sh"

binzo=$1
seed=$2
log=$(mktemp)
app=
db=$XDG_DATA_HOME/binzo/binzo.sqlite3
prefs=$XDG_CONFIG_HOME/binzo/preferences.json
token=ghp_$(head -c 64 /dev/urandom | base64 | tr -dc 'A-Za-z0-9' | head -c 36)

count() { sql "SELECT count(*) FROM Entry WHERE $1"; }
has_entry() { [[ $(count "$1") == 1 ]]; }
locked() { ! sqlite3 "$db" "BEGIN IMMEDIATE; ROLLBACK;" 2>/dev/null; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# new_entry LABEL: opens the entry sheet and types the label; the value comes next.
new_entry() {
  xdotool key ctrl+n
  sleep 0.8
  xdotool type --delay 20 "$1"
  xdotool key Tab
}
trap stop_app EXIT

step "seeded vault, tour seen, copied secrets cleared after 10 s"
"$seed" || fail "could not seed the vault"
jq '."binzo.clipboardClearSeconds" = 10' "$prefs" >"$prefs.new" && mv "$prefs.new" "$prefs"
chmod 600 "$prefs"
start_app

step "an entry added while another program holds the database is on disk soon after"
( echo "BEGIN EXCLUSIVE;"; sleep 8; echo "ROLLBACK;" ) | sqlite3 "$db" &
locker=$!
wait_until 50 locked || fail "the other program did not get the lock"
show_panel
new_entry 'Door code'
xdotool type --delay 20 '4711 while locked'
xdotool key Return
wait_until 30 grep -q 'could not save changes, they will be retried: database is locked' "$log" \
  || fail "the failed save was not reported"
! has_entry "label = 'Door code'" || fail "the entry was saved through the lock"
wait "$locker"
released=$(now_ms)
wait_until 100 has_entry "label = 'Door code' AND inlineValue = '4711 while locked'" \
  || fail "the entry was not saved after the lock ended"
echo "lock released -> entry on disk: $(($(now_ms) - released)) ms"
kill -9 "$app"
wait "$app" 2>/dev/null || true
has_entry "label = 'Door code'" || fail "the entry was lost to SIGKILL"
[[ $(sql "PRAGMA integrity_check") == ok ]] || fail "the database is damaged"

step "a pasted GitHub token saved with a plain Return goes to the keyring"
start_app
show_panel
printf %s "$token" | xclip -selection clipboard
new_entry 'Work GitHub'
xdotool key ctrl+v
sleep 0.3
xdotool key Return
wait_until 30 has_entry "label = 'Work GitHub'" || fail "the token entry was not stored"
IFS='|' read -r id sensitive inline < <(sql "SELECT id, isSensitive, ifnull(inlineValue, '-') \
  FROM Entry WHERE label = 'Work GitHub'")
[[ $sensitive == 1 && $inline == - ]] || fail "stored sensitive=$sensitive inline=$inline"
[[ $(secret-tool lookup service com.qorvastine.binzo.secrets account "${id^^}") == "$token" ]] \
  || fail "the keyring does not hold the token"
! grep -aq "$token" "$db" "$db-wal" "$db-shm" 2>/dev/null || fail "the token is in the database files"

step "a copied secret leaves the clipboard after 10 s"
xdotool key Escape
wait_until 50 panel_hidden || fail "Escape did not hide the panel"
printf %s 'something else' | xclip -selection clipboard
show_panel
xdotool type --delay 20 'Work GitHub'
sleep 0.3
xdotool key Return
wait_until 20 bash -c "[[ \$(xclip -o -selection clipboard 2>/dev/null) == '$token' ]]" \
  || fail "the token was not copied"
copied=$(now_ms)
sleep 8
[[ $(clipboard) == "$token" ]] || fail "the secret left the clipboard before 10 s"
wait_until 60 bash -c "[[ -z \$(xclip -o -selection clipboard 2>/dev/null) ]]" \
  || fail "the secret is still on the clipboard"
echo "secret cleared from the clipboard after $(($(now_ms) - copied)) ms"

step "every file and folder Binzo made is its user's alone"
wrong=$(find "$XDG_DATA_HOME/binzo" "$XDG_CONFIG_HOME/binzo" "$XDG_RUNTIME_DIR/binzo" \
  \( -type f ! -perm 600 \) -o -perm /077)
[[ -z $wrong ]] || fail "not private: $(ls -ld $wrong)"

step "Quit Binzo empties the database log"
tray_click 3 Up Return
wait_until 50 bash -c "! kill -0 $app 2>/dev/null" || fail "Quit Binzo did not end the app"
[[ ! -s $db-wal ]] || fail "the log still holds $(stat -c %s "$db-wal") bytes after Quit"
echo "all trust scenarios passed"
