# Sourced by the scripts that compare pictures of the native and the 64-bit
# Windows builds: skips (exit 77) when the Windows build or wine64 is
# missing, else sets up a quiet private prefix in which the gauges' faces are
# mapped as a Windows machine has them, and sets `wine`.
#
# Usage: wine_pictures_env WIN64_DIR PREFIX OUT_DIR   (OUT_DIR is emptied)
wine_pictures_env() {
  local win64=$1 prefix=$2 out=$3 f
  for f in "$win64/orvane-panel.exe" "$win64/Orvane_Instr.gau"; do
    [ -f "$f" ] || { echo "skipped: $f is not built (cmake --build --preset win64)"; exit 77; }
  done
  wine=$(command -v wine64 || true)
  [ -n "$wine" ] || { [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64; } || true
  [ -n "$wine" ] || { echo "skipped: wine64 not found"; exit 77; }

  export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY WAYLAND_DISPLAY
  rm -rf "$out"
  mkdir -p "$WINEPREFIX" "$out"
  # Wine maps each face to its metric-compatible free face.
  cat >"$out/fonts.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
"Arial Narrow"="Liberation Sans Narrow"
"Courier New"="Liberation Mono"
"Geneva"="DejaVu Sans"
"Quartz"="DSEG7 Classic"
REG
  "$wine" regedit /S "Z:$out/fonts.reg" >/dev/null 2>&1
}
