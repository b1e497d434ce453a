#!/usr/bin/env bash
# A scenario rendered at its render_at moments by the native orvane-panel
# (Cairo) and by the 64-bit Windows orvane-panel.exe with its module under
# wine64 (GDI and GDI+ drawing the gauges' own layers): both must write the
# same files, and every instance picture must match within the tolerance of
# two anti-aliasing engines (picture_pairs).
#
# Usage: wine_pictures.sh NATIVE_TOOL NATIVE_MODULE PICTURE_PAIRS WIN64_DIR PREFIX SCENARIO OUT_DIR
# OUT_DIR keeps both renders (native/, wine/) and a diff picture of each
# instance picture that does not match (diff/). Exits 77 (skipped) when the
# win64 build or wine64 is missing.
set -euo pipefail
native_tool=$1 native_module=$2 pairs=$3 win64=$4 prefix=$5 scenario=$6 out=$7
source "$(dirname "$0")/../support/wine_pictures_env.sh"
wine_pictures_env "$win64" "$prefix" "$out"

"$native_tool" render --module "$native_module" --scenario "$scenario" --windows --out "$out/native" >"$out/native.txt"
# The program finds the module beside itself, as a user runs it.
(cd "$win64" && "$wine" orvane-panel.exe render --scenario "Z:$scenario" --windows --out "Z:$out/wine") >"$out/wine.txt"
# The Windows build lists its files with '\' throughout.
sed -e 's|\\|/|g' -e "s|^Z:$out/wine|$out/native|" -e 's/\r$//' "$out/wine.txt" >"$out/wine_names.txt"
if ! diff -u "$out/native.txt" "$out/wine_names.txt"; then
  echo "the Windows build wrote other files than the native one"
  exit 1
fi
# Edges may lie up to two pixels apart and differ in shading; at most 0.05%
# of a picture's pixels may fail that (a missing waypoint, symbol or digit
# fails more).
"$pairs" --channel 96 --reach 2 --share 0.0005 "$out/native" "$out/wine" "$out/diff"
