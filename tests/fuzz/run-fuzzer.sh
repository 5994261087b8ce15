#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a libFuzzer target for a few seconds from freshly written seeds, in a scratch folder so
# the seeds in the build tree stay as written. A crash fails the test and leaves its input.
#   run-fuzzer.sh FUZZER SEED_WRITER SECONDS [ARTIFACT_DIR]
set -euo pipefail
fuzzer=$1 seed_writer=$2 seconds=$3 artifacts=${4:-$PWD}
work=$(mktemp -d /tmp/binzo-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT
"$seed_writer" "$work/seeds"
mkdir -p "$work/corpus" "$artifacts"
# Allocation limits make an input that makes the model allocate gigabytes a finding too.
"$fuzzer" -max_total_time="$seconds" -rss_limit_mb=1024 -malloc_limit_mb=256 -timeout=10 \
  -print_final_stats=1 -artifact_prefix="$artifacts/" "$work/corpus" "$work/seeds" 2>"$work/log" \
  || { cat "$work/log" >&2; exit 1; }
grep -E '^(Done|INFO: seed corpus|stat::number_of_executed_units|stat::peak_rss_mb)' "$work/log" || true
