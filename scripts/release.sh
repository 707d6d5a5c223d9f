#!/bin/bash
# Makes the two things a Windows user downloads, from the Windows build:
#   build/release/Velumo-<version>-portable.zip  the runnable folder (program,
#       skin, help, read-me; never a notes file), unpacked anywhere writable;
#   build/release/Velumo-<version>-setup.exe     the per-user NSIS installer.
# Run by scripts/test.sh after the Windows tests; builds what is missing.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${VELUMO_BUILD_DIR:-$ROOT/build}
"$ROOT/scripts/setup.sh"
[ -f "$BUILD/win/Velumo/Velumo.exe" ] || "$ROOT/scripts/build.sh" win

# "2.00" from the project's version 2.0.x.
VERSION=$(sed -nE 's/^project\(Velumo VERSION ([0-9]+)\.([0-9]+).*/\1.\2/p' "$ROOT/CMakeLists.txt")
VERSION=$(printf '%d.%02d' "${VERSION%%.*}" "${VERSION#*.}")
RELEASE="$BUILD/release"
STAGE="$RELEASE/stage/Velumo"
rm -rf "$RELEASE"
mkdir -p "$STAGE/Skins"

# The program without its debugging information, the packed skin, the help.
x86_64-w64-mingw32-strip -o "$STAGE/Velumo.exe" "$BUILD/win/Velumo/Velumo.exe"
cp "$BUILD/win/Velumo/Skins/"* "$STAGE/Skins/"
cp "$BUILD/win/Velumo/Velumo.chm" "$STAGE/"
cp "$ROOT/installer/ReadMe-portable.txt" "$STAGE/ReadMe.txt"
for f in skin.ini main.bmp mask.bmp over.bmp down.bmp disabled.bmp; do
    [ -f "$STAGE/Skins/$f" ] || { echo "release: Skins/$f is missing" >&2; exit 1; }
done
# A notes file or settings from a test run must never ship.
find "$STAGE" \( -iname 'notes.dat*' -o -iname '*.ini' ! -iname 'skin.ini' \) -print -delete

# Same bytes for the same input: fixed times and order inside the zip (zip
# stores local times, so the time zone is fixed too).
find "$RELEASE/stage" -exec touch -d "@$(git -C "$ROOT" log -1 --format=%ct 2>/dev/null || echo 0)" {} +
(cd "$RELEASE/stage" && find Velumo | LC_ALL=C sort | TZ=UTC zip -q -X -9 "$RELEASE/Velumo-$VERSION-portable.zip" -@)

makensis -V2 -NOCD \
    "-DVERSION=$VERSION" \
    "-DSOURCE_DIR=$STAGE" \
    "-DOUT_FILE=$RELEASE/Velumo-$VERSION-setup.exe" \
    "-DICON=$ROOT/src/res/art/velumo.ico" \
    "-DINSTALLED_README=$ROOT/installer/ReadMe-installed.txt" \
    "$ROOT/installer/Velumo.nsi"

rm -rf "$RELEASE/stage"
ls -l "$RELEASE"
