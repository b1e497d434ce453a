#!/usr/bin/env bash
# The speed figures of docs/performance.md, measured on the yardstick flight
# (bench/data/: a fixed copy of the built-in panel and scenario), for this
# tree's native build and, when given, an older build side by side:
#
#   bash scripts/perf.sh [BEFORE_BUILD_DIR]
#
# BEFORE_BUILD_DIR holds an older native build (Orvane_Instr.so and
# orvane-panel), e.g. of main before a change:
#   git archive main | tar -x -C /tmp/before && (cd /tmp/before &&
#     cmake --preset native && cmake --build build/native --target Orvane_Instr orvane-panel)
#
# Instruction counts come from callgrind (repeatable on a busy machine);
# times are the best of seven runs (user + system CPU, and wall). Needs
# valgrind and the native preset built with its benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
after=build/native
before=${1:-}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
out=$(mktemp -d /tmp/orv_perf.XXXXXX)
trap 'rm -rf "$out"' EXIT

flight() { echo "--module $1/Orvane_Instr.so --panel bench/data/panel.cfg --scenario bench/data/scenario.json"; }
instructions() { valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
  awk '/Collected/ {print $4}'; }
best_of_seven() {
  for _ in 1 2 3 4 5 6 7; do
    rm -rf "$out/pictures"
    /usr/bin/time -f "%U %S %e" "$@" 2>&1 >/dev/null | tail -1
  done | awk '{cpu = $1 + $2; if (NR == 1 || cpu < c) c = cpu; if (NR == 1 || $3 < w) w = $3}
              END {printf "%.0f ms CPU, %.0f ms wall", c * 1000, w * 1000}'
}
# Instructions of one trace frame (running it and writing its lines), the
# mean over the whole yardstick flight.
trace_frame() {
  valgrind --tool=callgrind --callgrind-out-file="$out/trace.cg" --collect-atstart=no \
    --toggle-collect='orv::host::TraceRecorder::frame()' "$@" >/dev/null 2>&1
  awk -v frames="$frames" '/^summary:/ {printf "%d", $2 / frames}' "$out/trace.cg"
}
frames=$(awk -F'[:,]' '/"frames"/ {gsub(/ /, "", $2); print $2; exit}' bench/data/scenario.json)
figures() {
  local b=$1
  echo "module frame: $(ORV_BENCH_MODULE=$(realpath "$b")/Orvane_Instr.so bash scripts/callgrind_frame.sh $after | sed 's/.*: //')"
  # shellcheck disable=SC2046
  echo "render --at 14: $(instructions $b/orvane-panel render $(flight $b) --at 14 --out "$out/pictures") instructions," \
    "$(best_of_seven $b/orvane-panel render $(flight $b) --at 14 --out "$out/pictures")"
  # shellcheck disable=SC2046
  echo "trace frame: $(trace_frame $b/orvane-panel trace $(flight $b)) instructions (mean of $frames frames)"
  # shellcheck disable=SC2046
  echo "trace --frames 1: $(instructions $b/orvane-panel trace $(flight $b) --frames 1) instructions," \
    "$(best_of_seven $b/orvane-panel trace $(flight $b) --frames 1)"
}

if [ -n "$before" ]; then
  echo "== before ($before)"
  figures "${before%/}"
fi
echo "== after ($after)"
figures "$after"
echo "== benchmarks (this build; ORV_BENCH_MODULE=$before/Orvane_Instr.so for the older module)"
"$after/bench/module_frame_benchmark" --benchmark_filter='BM_ModuleFrame$'
"$after/bench/yardstick_benchmark"
"$after/bench/host_benchmark" --benchmark_filter=ScaledPanel
if [ -n "$before" ]; then
  ORV_BENCH_MODULE=$(realpath "$before")/Orvane_Instr.so "$after/bench/module_frame_benchmark" \
    --benchmark_filter='BM_ModuleFrame$'
  ORV_BENCH_MODULE=$(realpath "$before")/Orvane_Instr.so "$after/bench/yardstick_benchmark" --benchmark_filter=StartUp
fi
