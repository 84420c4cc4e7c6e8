#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for MPCAL_FUZZ_SECONDS seconds each (default 15)
# on a copy of its seed corpus. Longer runs on demand: MPCAL_FUZZ_SECONDS=600 scripts/fuzz.sh
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build/fuzz}
seconds=${MPCAL_FUZZ_SECONDS:-15}
status=0
shopt -s nullglob
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=$(mktemp -d)
  [ -d "$root/fuzz/corpus/$name" ] && cp -r "$root/fuzz/corpus/$name/." "$corpus/"
  echo "-- $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -print_final_stats=1 "$corpus" 2>"$corpus.log"; then
    status=1
    tail -n 40 "$corpus.log"
  else
    grep -E 'stat::number_of_executed_units|Done' "$corpus.log" | tail -n 2 || true
  fi
  rm -rf "$corpus" "$corpus.log"
done
exit $status
