#!/usr/bin/env bash
# The radar picture of the intercept scenario at 10, 30 and 45 s, drawn by the
# 64-bit Windows module through GDI+ under wine64 and by the native module
# through Cairo, must agree pixel for pixel up to anti-aliasing.
#
# Usage: wine_picture_test.sh BUILD_DIR SCENARIO NATIVE_PROBE NATIVE_MODULE OUT_DIR
# Exit 77 (skipped) when the win64 build or wine64 is missing.
set -euo pipefail
build=$(cd "$1" && pwd)
scenario=$2 native_probe=$3 native_module=$4 out=$5
win_probe=$build/win64/tests/traffic/radar_picture_probe.exe
win_module=$build/win64/Orvane_Instr.gau
for f in "$win_probe" "$win_module"; do
  [ -f "$f" ] || { echo "skipped: $f is not built (build the win64 preset)"; exit 77; }
done
wine=$(command -v wine64 || true)
[ -n "$wine" ] || { [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64; } || true
[ -n "$wine" ] || { echo "skipped: wine64 not found"; exit 77; }

export WINEPREFIX=$build/wineprefix-gdiplus WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$WINEPREFIX" "$out"
# Wine has no "Courier New" of its own: the prefix maps the face to the
# metric-compatible Liberation Mono, as a Windows machine would have it.
"$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /d 'Liberation Mono' /f >/dev/null 2>&1

# The Windows probe loads the module by a path Wine understands.
cp "$win_module" "$(dirname "$win_probe")/"
status=0
for t in 10 30 45; do
  "$native_probe" "$native_module" "$scenario" "$t" "$out/native_t$t.bgra"
  (cd "$(dirname "$win_probe")" && "$wine" "$win_probe" Orvane_Instr.gau "Z:$scenario" "$t" "Z:$out/wine_t$t.bgra")
  echo -n "t=$t: "
  "$native_probe" --compare "$out/native_t$t.bgra" "$out/wine_t$t.bgra" "$out/t$t" || status=1
done
exit $status
