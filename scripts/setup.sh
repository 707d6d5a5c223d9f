#!/bin/bash
# Installs the Debian packages the build and the tests need. Safe to run
# again: apt-get runs only when something is missing.
set -euo pipefail
PACKAGES=(cmake make g++ clang libclang-rt-14-dev googletest libbenchmark-dev
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64
          xvfb xauth x11-utils imagemagick python3-pil fonts-dejavu-core
          fp-utils nsis libchm-bin zip unzip)
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "setup: installing ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
