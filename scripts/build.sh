#!/bin/bash
# Configures and builds one of the trees: host | win | fuzz.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${VELUMO_BUILD_DIR:-$ROOT/build}
JOBS=${VELUMO_JOBS:-$(nproc)}
case "$1" in
    host) cmake -S "$ROOT" -B "$BUILD/host" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null ;;
    win)  cmake -S "$ROOT" -B "$BUILD/win" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
                -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null ;;
    fuzz) CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
                -DVELUMO_FUZZ=ON >/dev/null ;;
    *) echo "usage: build.sh host|win|fuzz" >&2; exit 2 ;;
esac
cmake --build "$BUILD/$1" -j "$JOBS"
