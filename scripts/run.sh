#!/bin/bash
# Builds Velumo.exe with its skin and starts it under Wine: on $DISPLAY when
# there is one, else on a virtual display (take a look with
# `DISPLAY=<shown> import -window root shot.png`).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${VELUMO_BUILD_DIR:-$ROOT/build}
"$ROOT/scripts/setup.sh"
"$ROOT/scripts/build.sh" win
source "$ROOT/scripts/wine-env.sh"
wine_env_start "${VELUMO_WINEPREFIX:-$HOME/.velumo-wine}"
trap wine_env_stop EXIT
echo "Velumo runs on DISPLAY=$DISPLAY; notes are kept in $BUILD/win/Velumo/notes.dat"
wine "$BUILD/win/Velumo/Velumo.exe" "$@"
