#!/usr/bin/env bash
# Instructions of one steady module frame of the yardstick flight (bench/data/,
# frame 252: the ILS approach, HUD on), counted by callgrind: every call the
# host makes into the module in a frame, the host's own work left out.
#
#   bash scripts/callgrind_frame.sh [BUILD_DIR]     (default build/native)
#
# Needs valgrind and a native build with the benchmarks (the native preset).
# ORV_BENCH_MODULE=PATH measures another build of the module (an older one,
# for a before-and-after figure) with the same driver.
set -euo pipefail
build=${1:-build/native}
frames=100
out=$(mktemp /tmp/orv_callgrind.XXXXXX)
trap 'rm -f "$out"' EXIT
SDL_AUDIODRIVER=dummy valgrind --tool=callgrind --callgrind-out-file="$out" --collect-atstart=no \
  --toggle-collect=orv_bench_module_frame "$build/bench/module_frame_benchmark" --callgrind "$frames" \
  2>/dev/null
total=$(awk '/^summary:/ {print $2}' "$out")
echo "module frame: $((total / frames)) instructions (callgrind, mean of $frames frames)"
