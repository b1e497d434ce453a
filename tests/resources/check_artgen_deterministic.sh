#!/usr/bin/env bash
# Two runs of the art generator give identical bitmaps and sounds.
set -euo pipefail
artgen=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$artgen" --out "$work/a" >/dev/null
"$artgen" --out "$work/b" >/dev/null
diff -r "$work/a/bitmaps" "$work/b/bitmaps"
diff -r "$work/a/sounds" "$work/b/sounds"
echo "ok: $(ls "$work/a/bitmaps" | wc -l) bitmaps and $(ls "$work/a/sounds" | wc -l) sounds identical"
