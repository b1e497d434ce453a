#!/usr/bin/env bash
# Checks the shipped module: a PE32 DLL for i386 that exports exactly Linkage
# and ImportTable and imports only system DLLs.
set -euo pipefail
gau=$1
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
[ -f "$gau" ] || { echo "missing $gau (build the win32 preset first)"; exit 1; }
head=$($objdump -f "$gau")
grep -q 'file format pei-i386' <<<"$head" || { echo "not PE32 i386: $head"; exit 1; }
grep -q 'architecture: i386' <<<"$head" || { echo "not i386: $head"; exit 1; }
dump=$($objdump -p "$gau")
exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{f=1;next} f&&/^[ \t]*\[/{print $NF;next} f&&/^$/{f=0}' <<<"$dump" | sort | tr '\n' ' ')
[ "$exports" = "ImportTable Linkage " ] || { echo "exports: '$exports'"; exit 1; }
allowed='^(kernel32|user32|gdi32|gdiplus|dsound|winmm|msvcrt|advapi32|ole32|shell32|ucrtbase|api-ms-win-crt-[a-z0-9-]+)\.dll$'
bad=$(grep 'DLL Name:' <<<"$dump" | awk '{print tolower($3)}' | grep -v -E "$allowed" || true)
[ -z "$bad" ] || { echo "non-system imports: $bad"; exit 1; }
echo "ok: $(grep 'DLL Name:' <<<"$dump" | awk '{print $3}' | tr '\n' ' ')"
