#!/usr/bin/env bash
# The Windows viewer (64-bit orvane-panel.exe with the 64-bit module under
# wine64, in a window of the system's own on an Xvfb screen) driven by an
# input script: the script's clicks reach the gauges and the window opens,
# and its picture of a moment is the picture the native render draws of it
# (within the tolerance of two anti-aliasing engines), and its picture with
# a tooltip shown is the native viewer's after the same script. Before that,
# the window's own test program (view_window_wine_test.cpp) checks how the
# system's messages become the viewer's input.
#
# Usage: view_under_wine.sh NATIVE_TOOL NATIVE_MODULE PICTURE_PAIRS WIN64_DIR PREFIX OUT_DIR
# (the window's test program is WIN64_DIR/tests/tools/view_window_wine_test.exe)
# OUT_DIR keeps the screenshots (live.png, tip.png with a tooltip shown).
# Exits 77 (skipped) when the win64 build, wine64 or xvfb-run is missing.
set -euo pipefail
native_tool=$1 native_module=$2 pairs=$3 win64=$4 prefix=$5 out=$6
command -v xvfb-run >/dev/null || { echo "skipped: xvfb-run is not installed"; exit 77; }
window_test=$win64/tests/tools/view_window_wine_test.exe
[ -f "$window_test" ] || { echo "skipped: $window_test is not built (cmake --build --preset win64)"; exit 77; }
source "$(dirname "$0")/../support/wine_pictures_env.sh"
wine_pictures_env "$win64" "$prefix" "$out"
# The set-up ran without a display; the viewer's Wine must start on Xvfb's.
"$(dirname "$wine")/wineserver" -k 2>/dev/null || true
xvfb-run -a "$wine" "$window_test" >"$out/window_test.txt" 2>/dev/null || { cat "$out/window_test.txt"; exit 1; }
"$(dirname "$wine")/wineserver" -k 2>/dev/null || true

cat >"$out/panel.cfg" <<'CFG'
[Window00]
size_mm=640,400
background_color=16,17,20
gauge00=Orvane_Instr!Head_Up_Display, 0,0,420,340
gauge01=Orvane_Instr!Screen_Selector_Main, 420,0,220,200
gauge02=Orvane_Instr!Attitude, 420,200,200,180
CFG
# The pointer starts on the background, where no tooltip shows; keys that
# do not change the flight's pictures in a script run, a click on the
# background, the picture, then a click on the selector's RDR button with
# its tooltip.
cat >"$out/script.txt" <<SCRIPT
0 move 5,395
0.5 key space
0.6 key Space
1.0 click 5,395 right
2.0 screenshot Z:$out/live.png
2.2 move 530,30
2.5 click 530,30
2.6 screenshot Z:$out/tip.png
SCRIPT
(cd "$win64" && xvfb-run -a "$wine" orvane-panel.exe view --panel "Z:$out/panel.cfg" --script "Z:$out/script.txt") \
  >"$out/view.txt" 2>"$out/view_err.txt" || { cat "$out/view_err.txt"; exit 1; }
"$(dirname "$wine")/wineserver" -k 2>/dev/null || true
status=0
for line in "t=1.00 click 5,395 right: no gauge" "t=2.50 click instance 1 Screen_Selector_Main 110,30 left: box" \
  "t=2.50 window 44 open" "Z:$out/tip.png"; do
  grep -qF "$line" "$out/view.txt" || { echo "missing from the viewer's output: $line"; status=1; }
done
[ $status = 0 ] || cat "$out/view.txt"

# The moment against render's screen of it (one layout for both); the clicked selector with its
# tooltip against the native viewer's picture after the same script.
"$native_tool" render --module "$native_module" --panel "$out/panel.cfg" --at 2 --out "$out/render" >/dev/null
mkdir -p "$out/native" "$out/wine"
sed "s|Z:$out/|$out/native/|" "$out/script.txt" >"$out/native/script.txt"
ASAN_OPTIONS=detect_leaks=0 xvfb-run -a "$native_tool" view --module "$native_module" --panel "$out/panel.cfg" \
  --script "$out/native/script.txt" >"$out/native/view.txt"
cp "$out/render/screen_t2.0.png" "$out/native/window.png"
cp "$out/live.png" "$out/wine/window.png"
cp "$out/tip.png" "$out/wine/window_tip.png"
mv "$out/native/tip.png" "$out/native/window_tip.png"
"$pairs" --channel 96 --reach 2 --share 0.0005 --names window "$out/native" "$out/wine" "$out/diff" || status=1
exit $status
