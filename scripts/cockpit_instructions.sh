#!/usr/bin/env bash
# Instructions per frame of the whole cockpit (bench/cockpit_benchmark.cpp:
# the built-in panel at its cruise with every window open, all 32 gauges),
# counted by callgrind inside the benchmark's frames only. Needs the native
# build (benchmarks on) and valgrind.
set -euo pipefail
cd "$(dirname "$0")/.."
bench=build/native/bench/cockpit_benchmark
[ -x "$bench" ] || { echo "build the native preset first ($bench is missing)" >&2; exit 1; }
out=$(mktemp)
trap 'rm -f "$out"' EXIT
log=$(SDL_AUDIODRIVER=dummy valgrind --tool=callgrind --callgrind-out-file="$out" --collect-atstart=no \
  --toggle-collect='*cockpit_frame*' "$bench" --benchmark_filter=WholeCockpitFrame --benchmark_min_time=0.2 2>&1)
frames=$(echo "$log" | sed -n 's/.*frames_run=\([0-9.kM]*\).*/\1/p' | head -1)
case $frames in *k) frames=$(awk "BEGIN {print ${frames%k} * 1000}") ;; esac
total=$(awk '/^summary:/ {print $2}' "$out")
echo "frames: $frames, instructions: $total, per frame: $((total / frames))"
