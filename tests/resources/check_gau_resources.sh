#!/usr/bin/env bash
# Checks the resources linked into the shipped module against the art
# generator's inventory: every bitmap id (type 2) once, and the WAVE sounds
# 10, 20 and 30 in French (France, language 0x040C) with their file sizes.
set -euo pipefail
gau=$1
artgen=$2
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
[ -f "$gau" ] || { echo "skipped: missing $gau (build the win32 preset first)"; exit 77; }
# Walk the resource directory dump: type entries (3 spaces after the offset),
# id entries (5), language entries (7) and leaves with their sizes.
found=$($objdump -p "$gau" | awk '
  function hex(s,   n, i) { s = tolower(s); sub(/^0x/, "", s); n = 0
    for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1
    return n }
  /The .rsrc Resource Directory section/ { on = 1; next }
  !on { next }
  /^[0-9a-f]+   Entry: ID: 0x000002,/ { type = "BITMAP"; next }
  /^[0-9a-f]+   Entry: name: .*: WAVE,/ { type = "WAVE"; next }
  /^[0-9a-f]+   Entry:/ { type = "OTHER"; next }
  /^[0-9a-f]+     Entry: ID: 0x/ { split($4, a, ","); id = hex(a[1]); next }
  /^[0-9a-f]+       Entry: ID: 0x/ { split($4, a, ","); lang = a[1]; next }
  /Leaf: Addr:/ { split($6, s, ","); size = hex(s[1]);
                  if (type == "BITMAP") print "BITMAP " id;
                  else if (type == "WAVE") print "WAVE " id " " size " " lang;
                  else print "OTHER " id }
')
expected=$("$artgen" --ids | awk '$1 == "BITMAP" { print } $1 == "WAVE" { print $1, $2, $3, "0x00040c" }')
if [ "$(sort <<<"$found")" != "$(sort <<<"$expected")" ]; then
  diff <(sort <<<"$expected") <(sort <<<"$found") || true
  echo "resources differ from the generator's inventory (< expected, > found)"
  exit 1
fi
echo "ok: $(grep -c '^BITMAP' <<<"$found") bitmaps, $(grep -c '^WAVE' <<<"$found") sounds"
