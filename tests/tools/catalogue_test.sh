#!/usr/bin/env bash
# The committed gauge catalogue (docs/gauges.md and docs/gauges/*.png) is what
# the tool writes from the module today: the page byte for byte, the pictures
# as a reader sees them (picture_pairs' tolerance for anti-aliasing).
#   catalogue_test.sh TOOL PICTURE_PAIRS SOURCE_DIR WORK_DIR
set -euo pipefail
tool=$1 pairs=$2 source=$3 work=$4
rm -rf "$work" && mkdir -p "$work"
"$tool" info --catalogue "$work/new" >/dev/null
refresh="refresh with: orvane-panel info --catalogue docs (then review git diff docs/)"
if ! diff -u "$source/docs/gauges.md" "$work/new/gauges.md"; then
  echo "docs/gauges.md differs from what the module gives; $refresh" >&2
  exit 1
fi
if ! diff <(cd "$source/docs/gauges" && ls) <(cd "$work/new/gauges" && ls); then
  echo "docs/gauges/ holds other pictures than the module's gauges; $refresh" >&2
  exit 1
fi
"$pairs" --names "" "$source/docs/gauges" "$work/new/gauges" "$work/diff" >"$work/pairs.txt" || {
  cat "$work/pairs.txt" >&2
  echo "pictures differ (diffs in $work/diff); $refresh" >&2
  exit 1
}
