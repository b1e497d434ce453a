#!/usr/bin/env bash
# Draws the map layer at three moments of a route with the native build and
# with the Windows build under wine64, and compares each pair.
#   picture_under_wine.sh NATIVE_PROGRAM WINDOWS_PROGRAM SCENARIO PREFIX OUT_DIR
# OUT_DIR keeps both pictures and a side-by-side PNG of each moment (native
# left, Wine right). Exits 77 (skipped) when the Windows program has not been
# built (win64 preset) or Wine is missing.
set -euo pipefail
native=$1 windows=$2 scenario=$3 prefix=$4 out=$5
[ -f "$windows" ] || { echo "skipped: $windows not built (cmake --build --preset win64)"; exit 77; }
wine=$(command -v wine64 || true)
[ -n "$wine" ] || { [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64; } || true
[ -n "$wine" ] || { echo "skipped: no wine64"; exit 77; }

mkdir -p "$prefix" "$out"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
status=0
for moment in "20 286" "75 286" "150 286" "75 143"; do
  set -- $moment
  name=t$1_$2
  "$native" draw "$scenario" "$1" "$2" "$out/$name.native.ppm"
  # Wine sees the Unix file system as drive Z:.
  "$wine" "$windows" draw "Z:$scenario" "$1" "$2" "Z:$out/$name.wine.ppm"
  "$native" compare "$out/$name.native.ppm" "$out/$name.wine.ppm" "$out/$name.side_by_side.png" || status=1
done
exit $status
