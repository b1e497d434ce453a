# Sourced by the tests that run the 32-bit Windows build: skips (exit 77,
# saying why) when 32-bit Wine is missing, else sets `wine` to it and makes
# PREFIX its quiet private prefix (no display, no Mono or Gecko installers).
# A 64-bit-only prefix cannot run 32-bit programs, so the 32-bit tests keep
# one of their own.
#
# Usage: wine32_env PREFIX
wine32_env() {
  wine=${ORV_WINE32:-/usr/lib/wine/wine}
  if [ ! -x "$wine" ]; then
    echo "skipped: 32-bit Wine ($wine, Debian's wine32:i386) is not installed; scripts/setup.sh installs it"
    exit 77
  fi
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY WAYLAND_DISPLAY
  mkdir -p "$WINEPREFIX"
}
