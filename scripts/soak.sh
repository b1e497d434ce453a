#!/usr/bin/env bash
# Soak run: the built-in flight (engine start to landing, with traffic and a
# GPS route, then holding) traced for FRAMES frames under the sanitizers, the
# output discarded. Prints the resident size once the run has settled and at
# its end, and the peak, so a leak or a growing buffer shows as growth.
#
#   bash scripts/soak.sh [FRAMES [TOOL MODULE]]
#
# FRAMES defaults to 1000000 (about 15 hours of flight at 18 frames a
# second); TOOL and MODULE default to the native-asan build.
set -euo pipefail
cd "$(dirname "$0")/.."
frames=${1:-1000000}
tool=${2:-build/native-asan/orvane-panel}
module=${3:-build/native-asan/Orvane_Instr.so}
export SDL_AUDIODRIVER=dummy LSAN_OPTIONS=suppressions=$PWD/tests/support/lsan.supp

"$tool" trace --module "$module" --frames "$frames" >/dev/null &
pid=$!
rss() { awk '/^VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null || true; }
settled="" last="" peak=0 seconds=0
while kill -0 "$pid" 2>/dev/null; do
  now=$(rss)
  if [ -n "$now" ]; then
    last=$now
    [ "$now" -gt "$peak" ] && peak=$now
    # The first seconds load the module, fonts and sanitizer tables.
    [ -z "$settled" ] && [ "$seconds" -ge 2 ] && settled=$now
  fi
  sleep 1
  seconds=$((seconds + 1))
done
status=0
wait "$pid" || status=$?
echo "soak: $frames frames in about ${seconds} s, exit $status"
echo "soak: resident size settled ${settled:-$last} kB, at the end ${last} kB, peak ${peak} kB"
exit "$status"
