#!/usr/bin/env bash
# The Windows build of orvane-panel, run under wine64 against the 64-bit
# Windows module, must print exactly the trace that the native build prints
# for the native module, with the built-in scenario and panel.
#
# Usage: wine_trace_test.sh BUILD_DIR   (BUILD_DIR holds native/ and win64/)
# Exit 77 (skipped) when one of the builds or wine64 is missing.
set -euo pipefail
build=$(cd "$1" && pwd)
native_tool=$build/native/orvane-panel
native_module=$build/native/Orvane_Instr.so
win_tool=$build/win64/orvane-panel.exe
win_module=$build/win64/Orvane_Instr.gau
frames=${ORV_WINE_TRACE_FRAMES:-90}

for f in "$native_tool" "$native_module" "$win_tool" "$win_module"; do
  if [ ! -f "$f" ]; then
    echo "skipped: $f is not built (build the native and win64 presets)"
    exit 77
  fi
done
wine=$(command -v wine64 || true)
[ -n "$wine" ] || { [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64; } || true
if [ -z "$wine" ]; then
  echo "skipped: wine64 not found"
  exit 77
fi

# A private, quiet prefix under the build tree; no display, no Mono or Gecko
# installers. The first run initialises the prefix (counted in the run time).
export WINEPREFIX=$build/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$WINEPREFIX"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
start=$(date +%s.%N)
"$native_tool" trace --module "$native_module" --frames "$frames" >"$work/native.txt"
# With no --module the tool loads the module next to itself, which spares
# translating the path for Windows.
"$wine" "$win_tool" trace --frames "$frames" >"$work/wine.txt" 2>"$work/wine.err" || {
  echo "wine run failed:"
  cat "$work/wine.err"
  exit 1
}
end=$(date +%s.%N)
echo "native and wine64 traces of $frames frames in $(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", b - a }') s"

if ! cmp -s "$work/native.txt" "$work/wine.txt"; then
  echo "traces differ (native left, wine64 right):"
  diff "$work/native.txt" "$work/wine.txt" | head -40
  exit 1
fi
echo "identical: $(wc -l <"$work/native.txt") lines"
