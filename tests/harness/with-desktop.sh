#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command inside a private desktop: Xvfb with openbox, xcompmgr and a trayer tray,
# a private D-Bus session with gnome-keyring unlocked non-interactively, and a temporary
# HOME and XDG folders so nothing touches the real home.
#   with-desktop.sh COMMAND [ARGS...]
# Environment: BINZO_SCREEN (default 1280x800x24), BINZO_NO_TRAY=1, BINZO_NO_COMPOSITOR=1.
set -euo pipefail

root=$(mktemp -d /tmp/binzo-desktop.XXXXXX)
export HOME=$root/home XDG_RUNTIME_DIR=$root/run
export XDG_DATA_HOME=$HOME/.local/share XDG_CONFIG_HOME=$HOME/.config XDG_CACHE_HOME=$HOME/.cache
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
mkdir -m 0700 -p "$XDG_RUNTIME_DIR"

# Xvfb picks a free display itself and reports it, so parallel runs never collide.
exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -screen 0 "${BINZO_SCREEN:-1280x800x24}" -nolisten tcp \
  +extension XInputExtension >"$root/xvfb.log" 2>&1 &
xvfb_pid=$!
cleanup() {
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT
display=
read -r -t 10 display <&"$displayfd" || true
[[ -n $display ]] || { echo "with-desktop: Xvfb did not start" >&2; cat "$root/xvfb.log" >&2; exit 1; }
export DISPLAY=":$display"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

# The keyring must be unlocked before anything else touches the bus, or it starts without
# a default collection. It runs in the foreground of a job of ours, so it is stopped by the
# PID we started, and nothing goes on before it owns its bus name.
exec_inside='
  # Services the bus starts (the keyring'"'"'s unlock prompter) need the bus and the display.
  dbus-update-activation-environment DISPLAY DBUS_SESSION_BUS_ADDRESS >/dev/null 2>&1
  printf %s binzo-test | gnome-keyring-daemon --foreground --unlock --components=secrets \
      >/dev/null 2>&1 &
  keyring=$!
  for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null \
      | grep -q "boolean true" && break
    sleep 0.05
  done
  openbox >/dev/null 2>&1 &
  [ -n "${BINZO_NO_COMPOSITOR:-}" ] || xcompmgr >/dev/null 2>&1 &
  [ -n "${BINZO_NO_TRAY:-}" ] || trayer --edge top --align right --widthtype pixel --width 120 \
      --heighttype pixel --height 24 --transparent false >/dev/null 2>&1 &
  for _ in $(seq 100); do
    wmctrl_ok=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -c "window id" || true)
    [ "$wmctrl_ok" = 1 ] && break; sleep 0.05
  done
  "$@"; status=$?
  kill "$keyring" $(jobs -p) 2>/dev/null
  wait "$keyring" 2>/dev/null
  exit $status
'
set +e
dbus-run-session -- sh -c "$exec_inside" sh "$@"
status=$?
set -e
exit $status
