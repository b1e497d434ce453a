#!/usr/bin/env bash
# Every code block of docs/writing-a-gauge.md whose first line names a file
# (// src/..., // tests/...) appears in that file word for word, with the
# block's indentation removed: the guide shows the code as it is.
#   doc_examples_test.sh SOURCE_DIR
set -euo pipefail
source=$1
doc="$source/docs/writing-a-gauge.md"
blocks=0 failed=0
file="" block="" in_block=0 indent=""
while IFS= read -r line; do
  if [[ $in_block == 0 && $line =~ ^([[:space:]]*)\`\`\`cpp$ ]]; then
    in_block=1 indent=${BASH_REMATCH[1]} file="" block=""
    continue
  fi
  [[ $in_block == 1 ]] || continue
  line=${line#"$indent"}
  if [[ $line == '```' ]]; then
    in_block=0
    [[ -n $file ]] || continue
    blocks=$((blocks + 1))
    if [[ ! -f "$source/$file" ]]; then
      echo "writing-a-gauge.md names $file, which does not exist" >&2
      failed=1
    elif [[ "$(cat "$source/$file")" != *"$block"* ]]; then
      echo "writing-a-gauge.md: this block is not in $file:" >&2
      printf '%s\n' "$block" >&2
      failed=1
    fi
  elif [[ -z $file && -z $block && $line =~ ^//\ ((src|tests)/[^ ]+)$ ]]; then
    file=${BASH_REMATCH[1]}
  else
    block+=${block:+$'\n'}$line
  fi
done <"$doc"
if [[ $blocks == 0 ]]; then
  echo "writing-a-gauge.md has no code block naming its file" >&2
  exit 1
fi
exit $failed
