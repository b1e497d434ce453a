#!/usr/bin/env bash
# Module files the host refuses, given to the native build and to the Windows
# build under wine64: a text file, the module cut to 4 KB and to half its
# size. Each must exit 4 with the same message on both (no unfilled "%1", no
# fault inside the system loader).
#
# Usage: wine_bad_module_test.sh NATIVE_BUILD_DIR WIN64_BUILD_DIR WINE_PREFIX
# (NATIVE_BUILD_DIR: any native build with orvane-panel and the probe
# modules, such as the one running the tests)
# Exit 77 (skipped) when one of the builds or wine64 is missing.
set -euo pipefail
absolute() { case $1 in /*) echo "$1" ;; *) echo "$PWD/$1" ;; esac; }
native=$(absolute "$1") win64=$(absolute "$2")
native_tool=$native/orvane-panel
win_tool=$win64/orvane-panel.exe
win_module=$win64/Orvane_Instr.gau
win_probes=$win64/tests/host
prefix=$3
for f in "$native_tool" "$win_tool" "$win_module"; do
  if [ ! -f "$f" ]; then
    echo "skipped: $f is not built"
    exit 77
  fi
done
source "$(dirname "$0")/../../support/wine_env.sh"
# A private, quiet prefix under the build tree.
wine64_env "$prefix"
export SDL_AUDIODRIVER=dummy

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf 'this is not a library\n' >text.gau
head -c 4096 "$win_module" >cut_4k.gau
head -c $(($(stat -c %s "$win_module") / 2)) "$win_module" >cut_half.gau

status=0
for f in text.gau cut_4k.gau cut_half.gau; do
  # Relative names: the same text on both sides.
  set +e
  "$native_tool" trace --frames 1 --module "$f" >/dev/null 2>native.err
  native_code=$?
  "$wine" "$win_tool" trace --frames 1 --module "$f" >/dev/null 2>wine.err
  wine_code=$?
  set -e
  tr -d '\r' <wine.err | grep -v '^wine: ' >wine.txt || true
  if [ "$native_code" -ne 4 ] || [ "$wine_code" -ne 4 ] || ! cmp -s native.err wine.txt; then
    echo "$f: native exit $native_code, wine64 exit $wine_code"
    echo "  native: $(cat native.err)"
    echo "  wine64: $(cat wine.txt)"
    status=1
  else
    echo "$f: exit 4 on both: $(cat native.err)"
  fi
done
# Start-up code that crashes (exit 4) and abort() in init (exit 8): the
# messages of the native probe modules, with the Windows file's name.
native_probes=$(dirname "$native_tool")/tests/host
for variant in CrashAtLoad AbortInInit; do
  win_probe=$win_probes/Probe_$variant.gau
  native_probe=$native_probes/Probe_$variant.so
  [ -f "$win_probe" ] && [ -f "$native_probe" ] || { echo "Probe_$variant: not built, not tried"; continue; }
  cp "$win_probe" "Probe_$variant.gau"
  cp "$native_probe" "Probe_$variant.gau.so"
  set +e
  "$native_tool" trace --frames 1 --module "Probe_$variant.gau.so" >/dev/null 2>native.err
  native_code=$?
  "$wine" "$win_tool" trace --frames 1 --module "Probe_$variant.gau" >/dev/null 2>wine.err
  wine_code=$?
  set -e
  sed 's/\.gau\.so:/.gau:/' native.err >native.txt
  tr -d '\r' <wine.err | grep -v '^wine: ' >wine.txt || true
  if [ "$native_code" -ne "$wine_code" ] || ! cmp -s native.txt wine.txt; then
    echo "Probe_$variant: native exit $native_code, wine64 exit $wine_code"
    echo "  native: $(cat native.txt)"
    echo "  wine64: $(cat wine.txt)"
    status=1
  else
    echo "Probe_$variant: exit $native_code on both: $(cat native.txt)"
  fi
done
exit $status
