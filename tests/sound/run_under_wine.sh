#!/usr/bin/env bash
# Runs the Windows sound test program under Wine in the 64-bit tests' prefix.
#   run_under_wine.sh <program.exe> <prefix directory> no-device|device
# "no-device" gives Wine's audio no output at all; "device" gives it ALSA's
# null output, which takes samples and discards them. Exits 77 (skipped) when
# the program has not been built (win64 preset) or Wine is missing.
set -euo pipefail
exe=$1 prefix=$2 mode=$3
[ -f "$exe" ] || { echo "skipped: $exe not built (cmake --build --preset win64)"; exit 77; }
wine=$(command -v wine64 || command -v wine || true)
[ -n "$wine" ] || [ ! -x /usr/lib/wine/wine64 ] || wine=/usr/lib/wine/wine64
[ -n "$wine" ] || { echo "skipped: no wine64"; exit 77; }

mkdir -p "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all
# Only the ALSA driver, configured here, so the host's own sound set-up does
# not decide the outcome.
export WINEDLLOVERRIDES="winepulse.drv=d;wineoss.drv=d;winecoreaudio.drv=d;mscoree=d;mshtml=d"
alsa_conf=$prefix/asound-$mode.conf
if [ "$mode" = device ]; then
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$alsa_conf"
else
  : >"$alsa_conf"
fi
export ALSA_CONFIG_PATH=$alsa_conf
"$wine" "$exe" "$mode" 2> >(grep -v -E '^ALSA lib|^$' >&2 || true)
