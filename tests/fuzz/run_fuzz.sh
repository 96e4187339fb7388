#!/usr/bin/env bash
# Runs one fuzz target on its seed files for a few seconds (the test suite's run).
#   run_fuzz.sh <target binary> <work folder> <seconds> <seed file>...
# Exits 77 (reported as skipped) when the target was not built: no clang/libFuzzer.
set -euo pipefail
target="$(realpath -m "$1")" work="$(realpath -m "$2")" seconds="$3"; shift 3
if [ ! -x "$target" ]; then
  echo "fuzz target $(basename "$target") not built (clang with libFuzzer missing): skipped"
  exit 77
fi
rm -rf "$work"
mkdir -p "$work/corpus" "$work/seeds"
for seed in "$@"; do cp "$seed" "$work/seeds/"; done
cd "$work"
# New inputs go to corpus/; a crash, leak, timeout or out-of-memory fails the test and
# leaves its input in the work folder (crash-*, oom-*, timeout-*).
exec "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=1024 \
  -print_final_stats=1 corpus seeds
