# Sourced by the tests that run a Windows build under Wine. Each function
# skips the test (exit 77, saying why) when its Wine is missing, else sets
# `wine` to it and makes PREFIX its quiet private prefix (no display, no Mono
# or Gecko installers). A 64-bit-only prefix cannot run 32-bit programs, so
# the 32-bit tests keep one of their own.
#
# Usage: wine32_env PREFIX   (32-bit Wine, for the shipped i686 pair)
#        wine64_env PREFIX   (wine64, for the 64-bit pair)
wine32_env() {
  wine=${ORV_WINE32:-/usr/lib/wine/wine}
  if [ ! -x "$wine" ]; then
    echo "skipped: 32-bit Wine ($wine, Debian's wine32:i386) is not installed; scripts/setup.sh installs it"
    exit 77
  fi
  quiet_wine_prefix "$1"
}

wine64_env() {
  wine=$(command -v wine64 || true)
  [ -n "$wine" ] || { [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64; } || true
  if [ -z "$wine" ]; then
    echo "skipped: wine64 not found"
    exit 77
  fi
  quiet_wine_prefix "$1"
}

quiet_wine_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY WAYLAND_DISPLAY
  mkdir -p "$WINEPREFIX"
}
