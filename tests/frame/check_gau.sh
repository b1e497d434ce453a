#!/usr/bin/env bash
# Checks the shipped module: a PE32 DLL for i386 that exports exactly Linkage
# and ImportTable and imports only system DLLs; and that its results cannot
# depend on the x87 precision the simulator leaves: it imports no maths from
# the C runtime (msvcrt's differ with the precision, and between Windows
# releases), and no function of ours does x87 arithmetic unless it sets the
# control word itself (the double-rounded routines of common/stable_maths.h).
set -euo pipefail
gau=$1
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
[ -f "$gau" ] || { echo "skipped: missing $gau (build the win32 preset first)"; exit 77; }
head=$($objdump -f "$gau")
grep -q 'file format pei-i386' <<<"$head" || { echo "not PE32 i386: $head"; exit 1; }
grep -q 'architecture: i386' <<<"$head" || { echo "not i386: $head"; exit 1; }
dump=$($objdump -p "$gau")
exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{f=1;next} f&&/^[ \t]*\[/{print $NF;next} f&&/^$/{f=0}' <<<"$dump" | sort | tr '\n' ' ')
[ "$exports" = "ImportTable Linkage " ] || { echo "exports: '$exports'"; exit 1; }
allowed='^(kernel32|user32|gdi32|gdiplus|dsound|winmm|msvcrt|advapi32|ole32|shell32|ucrtbase|api-ms-win-crt-[a-z0-9-]+)\.dll$'
bad=$(grep 'DLL Name:' <<<"$dump" | awk '{print tolower($3)}' | grep -v -E "$allowed" || true)
[ -z "$bad" ] || { echo "non-system imports: $bad"; exit 1; }
maths='^(_?(acos|asin|atan|atan2|cos|cosh|sin|sinh|tan|tanh|exp|log|log10|pow|sqrt|fmod|floor|ceil|hypot|cabs|ldexp|frexp|modf)f?)$'
runtime_maths=$(awk '/DLL Name:/{dll=tolower($3); next} dll=="msvcrt.dll" && NF==3 && $1 ~ /^[0-9a-f]+$/ {print $3}' <<<"$dump" \
  | grep -E "$maths" || true)
[ -z "$runtime_maths" ] || { echo "maths imported from msvcrt.dll: $runtime_maths"; exit 1; }
# x87 arithmetic (the instructions that precision control rounds) in
# functions of the orv namespace that do not load a control word.
unguarded=$($objdump -d --no-show-raw-insn "$gau" | awk '
  />:$/ { if (fn != "" && arith && !cw) print fn; fn = ($2 ~ /orv/) ? $2 : ""; arith = 0; cw = 0; next }
  fn != "" {
    split($0, parts, "\t"); split(parts[2], m, " ")
    if (m[1] ~ /^f(i?add|i?sub|i?subr|i?mul|i?div|i?divr)p?[lst]?$|^fsqrt$/) arith = 1
    if (m[1] == "fldcw") cw = 1
  }
  END { if (fn != "" && arith && !cw) print fn }')
[ -z "$unguarded" ] || { echo "x87 arithmetic outside the stable maths:"; echo "$unguarded" | head -20; exit 1; }
echo "ok: $(grep 'DLL Name:' <<<"$dump" | awk '{print $3}' | tr '\n' ' ')"
