# Sourced by the scripts that compare pictures of the native and the Windows
# builds: skips (exit 77) when the Windows build or its Wine is missing (wine64
# for the 64-bit build, 32-bit Wine for the 32-bit one), else sets up a quiet
# private prefix in which the gauges' faces are mapped as a Windows machine
# has them, and sets `wine`.
#
# Usage: wine_pictures_env WIN_DIR PREFIX OUT_DIR   (OUT_DIR is emptied)
wine_pictures_env() {
  local win=$1 prefix=$2 out=$3 f
  for f in "$win/orvane-panel.exe" "$win/Orvane_Instr.gau"; do
    [ -f "$f" ] || { echo "skipped: $f is not built (build the win32 or win64 preset)"; exit 77; }
  done
  # The machine field of the PE header: 014c for i386.
  local pe machine
  pe=$(od -An -tu4 -j60 -N4 "$win/orvane-panel.exe" | tr -d ' ')
  machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$win/orvane-panel.exe" | tr -d ' ')
  source "$(dirname "${BASH_SOURCE[0]}")/wine_env.sh"
  if [ "$machine" = 014c ]; then
    wine32_env "$prefix"
  else
    wine64_env "$prefix"
  fi
  rm -rf "$out"
  mkdir -p "$out"
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
