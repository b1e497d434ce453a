#!/usr/bin/env bash
# The shipped 32-bit pair (orvane-panel.exe and Orvane_Instr.gau of the win32
# build) under 32-bit Wine must trace every shipped scenario exactly as the
# native build does, as text and as JSON lines (sounds included), with the x87
# unit set to 24, 53 and 64-bit precision before every call into the module;
# and `info` and `check` must print the same.
#
# Usage: wine32_trace_test.sh SOURCE_DIR NATIVE_BUILD_DIR WIN32_BUILD_DIR WINE_PREFIX
# Exit 77 (skipped, with the reason) when a build or 32-bit Wine is missing.
set -euo pipefail
source_dir=$(cd "$1" && pwd)
native_tool=$2/orvane-panel
native_module=$2/Orvane_Instr.so
win32=$3
prefix=$4

for f in "$native_tool" "$native_module" "$win32/orvane-panel.exe" "$win32/Orvane_Instr.gau"; do
  if [ ! -f "$f" ]; then
    echo "skipped: $f is not built (build the native and win32 presets)"
    exit 77
  fi
done
win32=$(cd "$win32" && pwd)
source "$source_dir/tests/support/wine_env.sh"
wine32_env "$prefix"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# same NAME NATIVE_FILE WINE_FILE: the outputs are byte for byte the same.
same() {
  if ! cmp -s "$2" "$3"; then
    echo "$1: differs (native left, 32-bit right):"
    diff "$2" "$3" | head -20 || true
    failures=$((failures + 1))
  fi
}

# 32-bit program runs from its folder (it loads the module beside itself);
# carriage returns of the console are dropped.
run32() { (cd "$win32" && "$wine" orvane-panel.exe "$@") 2>"$work/err" | tr -d '\r'; }

start=$(date +%s.%N)
"$native_tool" info --module "$native_module" >"$work/info.native"
run32 info >"$work/info.wine"
same info "$work/info.native" "$work/info.wine"
# check: the built-in panel and every shipped one. Its notes name the files
# as each build writes paths, so those are set aside.
names() { { grep -v '^ALSA' || true; } | sed -E 's/^[^ ]*panel\.cfg:/panel.cfg:/; s/checked against [^,]*,/checked against MODULE,/'; }
for panel in "" "$source_dir"/data/panels/*/panel.cfg; do
  { "$native_tool" check --module "$native_module" ${panel:+"$panel"} 2>"$work/err" || true; } | names >"$work/check.native"
  names <"$work/err" >>"$work/check.native"
  { (cd "$win32" && "$wine" orvane-panel.exe check ${panel:+"Z:$panel"}) 2>"$work/err" || true; } | tr -d '\r' \
    | names >"$work/check.wine"
  tr -d '\r' <"$work/err" | names >>"$work/check.wine"
  same "check ${panel:-(built-in panel)}" "$work/check.native" "$work/check.wine"
done

# The option takes the three precisions only.
code=0
run32 trace --x87 32 --frames 1 >/dev/null || code=$?
if [ "$code" -ne 2 ] || ! grep -q -- "--x87 is 24, 53 or 64" "$work/err"; then
  echo "trace --x87 32: exit $code, not a usage error:"
  cat "$work/err"
  failures=$((failures + 1))
fi

scenarios=("$source_dir"/data/scenarios/*.json)
for s in "${scenarios[@]}"; do
  name=$(basename "$s" .json)
  for format in text jsonl; do
    "$native_tool" trace --module "$native_module" --scenario "$s" --format "$format" 2>/dev/null \
      | sha256sum >"$work/$name.$format.native"
    for bits in 24 53 64; do
      if ! run32 trace --x87 "$bits" --scenario "Z:$s" --format "$format" | sha256sum >"$work/$name.$format.$bits"; then
        echo "$name ($format, x87 $bits): the 32-bit run failed:"
        cat "$work/err"
        failures=$((failures + 1))
        continue
      fi
      if ! cmp -s "$work/$name.$format.native" "$work/$name.$format.$bits"; then
        echo "$name: the $format trace with x87 precision $bits differs from the native one; see it with"
        echo "  diff <($native_tool trace --module $native_module --scenario $s --format $format)" \
          "<(cd $win32 && $wine orvane-panel.exe trace --x87 $bits --scenario Z:$s --format $format)"
        failures=$((failures + 1))
      fi
    done
  done
done
end=$(date +%s.%N)
echo "${#scenarios[@]} scenarios, text and JSON lines, x87 at 24, 53 and 64 bits:" \
  "$failures differences, $(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", b - a }') s"
[ "$failures" -eq 0 ]
