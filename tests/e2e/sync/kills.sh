#!/bin/bash
# Kills the program at random moments while it merges another computer's
# version of the notes file, moves the note deleted over there into the bin
# and saves both files with their trailers; after each kill every file must
# decode (with the host build's reader) and every note the file held before
# must be in the notes file or in the bin, under its id.
#   kills.sh BUILD_DIR [TRIES]
# Runs inside the test environment (WINEPREFIX and DISPLAY set by
# scripts/wine-env.sh) with a prefix of its own: each kill ends its
# wineserver. Not part of the test command (about 4 s a try).
set -euo pipefail
BUILD=$(realpath "$1")
TRIES=${2:-300}
WORK=$BUILD/kills
DRIVER=$BUILD/win/tests/e2e/velumo_sync_driver.exe
TOOL=$BUILD/host/tests/host/velumo_notes_file
fail() { echo "kills: $*" >&2; exit 1; }

rm -rf "$WORK"
mkdir -p "$WORK/shared"
cp -r "$BUILD/win/Velumo" "$WORK/Velumo"
NOTES_UNIX=$WORK/shared/notes.dat
BIN_UNIX=$WORK/shared/deleted.dat
NOTES=$(winepath -w "$NOTES_UNIX")
"$TOOL" make "$NOTES_UNIX" 40 300

ids() {  # file: its ids, sorted; fails when it does not decode
    [ -e "$1" ] || return 0
    "$TOOL" ids "$1" | cut -d' ' -f1 | sort
}

undecodable=0 lost=0 merged=0
for try in $(seq "$TRIES"); do
    (cd "$WORK/Velumo" && wine Velumo.exe "$NOTES" >/dev/null 2>&1 &)
    timeout 60 wine "$DRIVER" wait >/dev/null || fail "the program did not start (try $try)"
    # Another computer's version arrives; the user adds a note; a pass
    # merges, fills the bin and saves; the kill comes somewhere in it.
    "$TOOL" other "$NOTES_UNIX" "$WORK/other.dat" "kill-$try" || fail "the file does not decode before try $try"
    mv -f "$WORK/other.dat" "$NOTES_UNIX"
    { ids "$NOTES_UNIX"; ids "$BIN_UNIX"; } | sort -u >"$WORK/expected"
    binBefore=$( (ids "$BIN_UNIX" || true) | wc -l)
    timeout 60 wine "$DRIVER" act K 1 >/dev/null 2>&1 || true
    (timeout 60 wine "$DRIVER" sync >/dev/null 2>&1 &)
    sleep "$(awk -v r=$RANDOM 'BEGIN { printf "%.3f", r % 1500 / 1000 }')"
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    for f in "$NOTES_UNIX" "$BIN_UNIX"; do
        if ! ids "$f" >/dev/null; then
            undecodable=$((undecodable + 1))
            cp "$f" "$WORK/undecodable-$try-$(basename "$f")"
            echo "kills: try $try: $(basename "$f") does not decode"
        fi
    done
    { ids "$NOTES_UNIX" || true; ids "$BIN_UNIX" || true; } | sort -u >"$WORK/found"
    missing=$(comm -23 "$WORK/expected" "$WORK/found" | wc -l)
    if [ "$missing" -gt 0 ]; then
        lost=$((lost + missing))
        echo "kills: try $try: $missing notes lost"
    fi
    binAfter=$( (ids "$BIN_UNIX" || true) | wc -l)
    [ "$binAfter" -gt "$binBefore" ] && merged=$((merged + 1))
    echo "kills: try $try: $undecodable undecodable, $lost lost so far; bin saved before the kill in $merged"
    # The kill may leave the program's mutex to a dead process: a fresh
    # wineserver for the next start.
    (wineserver -p >/dev/null 2>&1 &)
done
echo "kills: $TRIES kills, $undecodable files that do not decode, $lost notes or ids lost" \
    "(in $merged tries the bin was saved before the kill)"
[ "$undecodable" -eq 0 ] && [ "$lost" -eq 0 ]
