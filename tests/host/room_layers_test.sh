#!/bin/bash
# The host's rooms stand on each other in one order: a file may include
# headers of its own room and of the rooms below it, never of a room above.
# Lowest first; render stands on panel and what panel stands on.
# Usage: room_layers_test.sh HOST_DIR
set -u
host=$1
rank() {
  case $1 in
    load) echo 0 ;; aircraft) echo 1 ;; panel) echo 2 ;; scenario) echo 3 ;; render) echo 3 ;; record) echo 4 ;;
    *) echo -1 ;;
  esac
}
fail=0
for file in "$host"/*/*.h "$host"/*/*.cpp; do
  room=$(basename "$(dirname "$file")")
  own=$(rank "$room")
  if [ "$own" -lt 0 ]; then
    echo "$file: in no known room" >&2
    fail=1
    continue
  fi
  while read -r used; do
    theirs=$(rank "$used")
    if [ "$theirs" -lt 0 ] || [ "$theirs" -gt "$own" ] || { [ "$theirs" -eq "$own" ] && [ "$used" != "$room" ]; }; then
      echo "$file: $room includes host/$used/, which is not below it" >&2
      fail=1
    fi
  done < <(sed -n 's|^#include "host/\([a-z_]*\)/.*|\1|p' "$file" | sort -u)
done
exit $fail
