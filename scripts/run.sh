#!/usr/bin/env bash
# Installs what is missing, builds the module and the substitute host, and
# renders the built-in scenario's cockpit to out/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
for preset in native win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
./build/native/orvane-panel render --module build/native/Orvane_Instr.so --out out "$@"
echo "Pictures written to $(pwd)/out"
