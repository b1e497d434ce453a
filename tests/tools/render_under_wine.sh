#!/usr/bin/env bash
# The built-in flight rendered at three moments by the native orvane-panel
# (Cairo) and by a Windows orvane-panel.exe with its module beside it under
# Wine (GDI+): the 64-bit build under wine64, or the shipped 32-bit one under
# 32-bit Wine with TOOL_OPTIONS such as --x87 24. A short animation of the
# attitude indicator besides: both must write the same files, and every instance picture and
# every frame of the animation must match within the tolerance of two
# anti-aliasing engines.
#
# Usage: render_under_wine.sh NATIVE_TOOL NATIVE_MODULE PICTURE_PAIRS GIF_FRAMES WIN_DIR PREFIX OUT_DIR [TOOL_OPTIONS...]
# OUT_DIR keeps both renders (native/, wine/, the animation's frames in
# film/) and a diff picture of each picture that does not match (diff/).
# Exits 77 (skipped) when the Windows build or its Wine is missing.
set -euo pipefail
native_tool=$1 native_module=$2 pairs=$3 gif_frames=$4 win=$5 prefix=$6 out=$7
shift 7
source "$(dirname "$0")/../support/wine_pictures_env.sh"
wine_pictures_env "$win" "$prefix" "$out"

moments=(--windows --at 12 --at 66 --at 110 --tooltip Radar:100,100@60
  --picture Attitude --from 12 --to 12.5 --fps 2)
"$native_tool" render --module "$native_module" --out "$out/native" "${moments[@]}" \
  --animate "$out/native/attitude.gif" >"$out/native.txt"
# The program finds the module beside itself, as a user runs it.
(cd "$win" && "$wine" orvane-panel.exe render "$@" --out "Z:$out/wine" "${moments[@]}" \
  --animate "Z:$out/wine/attitude.gif") >"$out/wine.txt"
# The Windows build lists its files with '\' throughout.
sed -e 's|\\|/|g' -e "s|^Z:$out/wine|$out/native|" -e 's/\r$//' "$out/wine.txt" >"$out/wine_names.txt"
if ! diff -u "$out/native.txt" "$out/wine_names.txt"; then
  echo "the Windows build wrote other files than the native one"
  exit 1
fi
# Edges may lie up to two pixels apart and differ in shading; at most 0.05%
# of a picture's pixels may fail that (a missing digit or symbol fails more).
# The animation's frames, each in a palette of its own, are held to the same.
tolerance=(--channel 96 --reach 2 --share 0.0005)
status=0
"$pairs" "${tolerance[@]}" "$out/native" "$out/wine" "$out/diff" || status=1
# The screens: the same layout, backgrounds and stacking on both.
"$pairs" "${tolerance[@]}" --names screen "$out/native" "$out/wine" "$out/diff/screen" || status=1
for side in native wine; do "$gif_frames" "$out/$side/attitude.gif" "$out/film/$side"; done
"$pairs" "${tolerance[@]}" --names frame "$out/film/native" "$out/film/wine" "$out/diff/film" || status=1
exit $status
