#!/usr/bin/env bash
# Runs every fuzz target (or those named) for SECONDS each (default 600),
# keeping what they find in build/fuzz/fuzz/corpus/NAME and printing each
# target's final figures. A crash leaves its input as
# build/fuzz/fuzz/fuzz_NAME-crash-*; re-run one with
#   build/fuzz/fuzz/fuzz_NAME build/fuzz/fuzz/fuzz_NAME-crash-...
#
#   bash scripts/fuzz.sh            # all, ten minutes each
#   bash scripts/fuzz.sh 3600 traffic gps_block
#
# docs/bad-input.md ("Fuzzing") lists how long each target last ran, how many
# inputs it tried and what it found.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
  targets=(token_values gps_block traffic panel_config scenario tooltip options parameters module_records)
fi
bash scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
cmake -DORV_FUZZ_SECONDS="$seconds" build/fuzz >/dev/null
status=0
for t in "${targets[@]}"; do
  echo "== fuzz_$t for $seconds s"
  # The final figures: executions, coverage, corpus, and any finding.
  log=build/fuzz/fuzz/fuzz_$t.log
  ctest --test-dir build/fuzz -R "^fuzz_${t}\$" -V >"$log" 2>&1 || status=1
  grep -E "stat::|DONE|ERROR|SUMMARY|runtime error|tests passed" "$log" || true
done
cmake -DORV_FUZZ_SECONDS=10 build/fuzz >/dev/null
exit $status
