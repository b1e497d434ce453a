#!/usr/bin/env bash
# Writes the host's token table (orvane-panel tokens) into docs/tokens.md,
# between its BEGIN and END markers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool=${1:-$root/build/native/orvane-panel}
doc=$root/docs/tokens.md
table=$("$tool" tokens)
awk -v table="$table" '
  /<!-- BEGIN orvane-panel tokens -->/ { print; print table; skip = 1; next }
  /<!-- END orvane-panel tokens -->/ { skip = 0 }
  !skip { print }
' "$doc" >"$doc.new"
mv "$doc.new" "$doc"
