#!/usr/bin/env bash
# Installs every system package the project needs on a fresh Debian 12 machine.
# Idempotent: packages already present are left as they are. Runs as root, or
# through sudo otherwise.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang clang-format libclang-rt-14-dev valgrind
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine64
  libcairo2-dev libpng-dev libdeflate-dev libsdl2-dev libwebp-dev
  libavcodec-dev libavformat-dev libswscale-dev libavutil-dev fontconfig xvfb xauth
  fonts-liberation fonts-liberation2 fonts-dejavu-core fonts-dseg
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
)

run() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ "${#missing[@]}" -eq 0 ]; then
  echo "setup: all packages present"
else
  echo "setup: installing ${missing[*]}"
  run apt-get update -qq
  DEBIAN_FRONTEND=noninteractive run apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# 32-bit Wine runs the shipped 32-bit module and program in the tests. It is
# an i386 package: the machine takes i386 as a foreign architecture first.
# Without it the rest of the set-up stands, and those tests say they are
# skipped.
if installed wine32:i386; then
  echo "setup: 32-bit Wine present"
else
  echo "setup: installing 32-bit Wine (wine32:i386)"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then run dpkg --add-architecture i386; fi
  if ! run apt-get update -qq; then
    echo "setup: warning: apt-get update failed; trying 32-bit Wine from the package lists as they are" >&2
  fi
  if ! DEBIAN_FRONTEND=noninteractive run apt-get install -y -qq --no-install-recommends wine32:i386; then
    echo "setup: warning: 32-bit Wine (wine32:i386) could not be installed: the i386 package index cannot" \
      "be had from the configured sources. The tests of the 32-bit build under Wine will be skipped." >&2
  fi
fi
