#!/usr/bin/env bash
# Refreshes the golden pictures (tests/golden/NAME.png) after an intended
# change of what the gauges draw: builds the module, orvane-panel and the
# golden test in the test build, then renders every case of
# tests/golden/cases.h (or only the NAMEs given) over its reference.
#
#   bash scripts/golden.sh                 # every picture
#   bash scripts/golden.sh hud_cruise ...  # only these
#
# Look at the changed pictures (git status, git diff --stat) before
# committing them.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native-asan >/dev/null
cmake --build --preset native-asan --target golden_tests orvane-panel Orvane_Instr
filter='Pictures/Golden.*'
if [ $# -gt 0 ]; then
  filter=$(printf 'Pictures/Golden.RenderMatchesTheReference/%s:' "$@")
fi
rm -f tests/golden/*.new.png tests/golden/*.diff.png
ORV_GOLDEN_UPDATE=1 SDL_AUDIODRIVER=dummy \
  LSAN_OPTIONS=suppressions=$PWD/tests/support/lsan.supp \
  ./build/native-asan/tests/golden/golden_tests --gtest_filter="$filter"
git status --short tests/golden
