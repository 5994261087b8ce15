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
