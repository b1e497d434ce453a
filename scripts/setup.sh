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

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done

if [ "${#missing[@]}" -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

run() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
echo "setup: installing ${missing[*]}"
run apt-get update -qq
DEBIAN_FRONTEND=noninteractive run apt-get install -y -qq --no-install-recommends "${missing[@]}"
