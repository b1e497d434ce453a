#!/usr/bin/env bash
# The Windows build of orvane-panel, run under wine64 against the 64-bit
# Windows module, must print exactly the trace that the native build prints
# for the native module, with the built-in scenario and panel; and again, as
# JSON lines, with clicks on gauges that play their click sound (three, and
# the built-in scenario's at 6.5 s): the sounds the module plays through
# DirectSound and through SDL are the same events.
#
# Usage: wine_trace_test.sh NATIVE_BUILD_DIR WIN64_BUILD_DIR WINE_PREFIX
# Exit 77 (skipped) when one of the builds or wine64 is missing.
set -euo pipefail
native_tool=$1/orvane-panel
native_module=$1/Orvane_Instr.so
win_tool=$2/orvane-panel.exe
win_module=$2/Orvane_Instr.gau
prefix=$3
frames=${ORV_WINE_TRACE_FRAMES:-90}

for f in "$native_tool" "$native_module" "$win_tool" "$win_module"; do
  if [ ! -f "$f" ]; then
    echo "skipped: $f is not built (build the native and win64 presets)"
    exit 77
  fi
done
source "$(dirname "$0")/../support/wine_env.sh"
# A private, quiet prefix under the build tree.
wine64_env "$prefix"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# compare NAME ARGS...: the native and the wine64 traces of `trace ARGS`.
compare() {
  local name=$1
  shift
  "$native_tool" trace --module "$native_module" "$@" >"$work/$name.native"
  # With no --module the tool loads the module next to itself, which spares
  # translating the path for Windows.
  "$wine" "$win_tool" trace "$@" >"$work/$name.wine" 2>"$work/$name.err" || {
    echo "wine run failed ($name):"
    cat "$work/$name.err"
    exit 1
  }
  if ! cmp -s "$work/$name.native" "$work/$name.wine"; then
    echo "$name: traces differ (native left, wine64 right):"
    diff "$work/$name.native" "$work/$name.wine" | head -40
    exit 1
  fi
  echo "$name: identical, $(wc -l <"$work/$name.native") lines"
}

start=$(date +%s.%N)
compare scenario --frames "$frames"
compare sounds --frames 120 --format jsonl --click NAV_GPS_Switch:20,12@0.5 --click ILS_TAC_Switch:20,12@1 \
  --click NAV_GPS_Switch:20,12@2
end=$(date +%s.%N)
echo "native and wine64 traces in $(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", b - a }') s"
sounds=$(grep -c '"type":"sound"' "$work/sounds.native" || true)
if [ "$sounds" -ne 4 ]; then
  echo "the clicks played $sounds sounds, not 4"
  exit 1
fi
