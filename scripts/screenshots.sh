#!/bin/bash
# Takes the pictures of the README and the help from the real program under
# Wine into build/screenshots (PNG). With --update-docs they also replace the
# committed copies under docs/, from which the next build compiles the help.
# Run by scripts/test.sh inside its Wine set-up; starts its own otherwise.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${VELUMO_BUILD_DIR:-$ROOT/build}
OUT="$BUILD/screenshots"
rm -rf "$OUT"
mkdir -p "$OUT"
source "$ROOT/scripts/wine-env.sh"
if [ -z "${WINEPREFIX:-}" ]; then
    VELUMO_FORCE_XVFB=1 wine_env_start "$BUILD/win/wineprefix"
    trap wine_env_stop EXIT
fi
VELUMO_SHOTS_DIR="Z:$OUT" "$ROOT/scripts/wine-run.sh" "$BUILD/win/tests/e2e/velumo_e2e.exe" \
    --gtest_also_run_disabled_tests --gtest_filter='DocsPictures.*' "--velumo-dir=Z:$BUILD/win/Velumo"
# The same pictures at 150% (named "...-150"), in a copy of the prefix at
# 144 DPI: the test command's, or one of our own.
if [ -z "${VELUMO_WINEPREFIX_144:-}" ]; then
    wine_dpi_prefix "$BUILD/win/wineprefix-144" 144
    VELUMO_WINEPREFIX_144=$BUILD/win/wineprefix-144
fi
WINEPREFIX=$VELUMO_WINEPREFIX_144 VELUMO_SHOTS_DIR="Z:$OUT" "$ROOT/scripts/wine-run.sh" \
    "$BUILD/win/tests/e2e/velumo_e2e.exe" --gtest_also_run_disabled_tests --gtest_filter='DocsPictures.*' \
    "--velumo-dir=Z:$BUILD/win/Velumo"
shopt -s nullglob
for bmp in "$OUT"/*.bmp; do
    # No time stamps in the PNG: an unchanged picture gives unchanged bytes.
    convert "$bmp" -strip -define png:exclude-chunks=date,time "${bmp%.bmp}.png"
    rm "$bmp"
done
echo "screenshots: $(cd "$OUT" && echo *.png) in $OUT"
if [ "${1:-}" = --update-docs ]; then
    mkdir -p "$ROOT/docs"
    cp "$OUT"/*.png "$ROOT/docs/"
fi
