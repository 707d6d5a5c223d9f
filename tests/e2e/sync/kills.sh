#!/bin/bash
# Kills the program at random moments while it merges another computer's
# version of the notes file, moves the note deleted over there into the bin
# and saves both files with their trailers; after each kill every file must
# decode (with the host build's reader) and every note the file held before
# must be in the notes file or in the bin (or, until the next start, in the
# file a save moved aside), under its id. Two kills in three are aimed: at
# the save writing its new file, and at the moment it has moved the file
# aside to look at it before its rename.
#   kills.sh BUILD_DIR [TRIES]
# Runs inside the test environment (WINEPREFIX and DISPLAY set by
# scripts/wine-env.sh) with a prefix of its own: each kill ends its
# wineserver. Not part of the test command (about 4 s a try).
set -euo pipefail
BUILD=$(realpath "$1")
TRIES=${2:-300}
WORK=$BUILD/kills
fail() { echo "kills: $*" >&2; exit 1; }
BIN_UNIX=$WORK/shared/deleted.dat
source "$(dirname "$0")/work_folder.sh"
sync_work_folder "$BUILD" "$WORK"
"$TOOL" make "$NOTES_UNIX" 40 300

ids() {  # file: its ids, sorted; fails when it does not decode
    [ -e "$1" ] || return 0
    "$TOOL" ids "$1" | cut -d' ' -f1 | sort
}

undecodable=0 lost=0 merged=0 aside=0
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
    # Every third kill at a random moment; the others the moment the save
    # has its new file on disk, or has moved the file aside to look at it.
    aim=
    case $((try % 3)) in
    1) aim=$NOTES_UNIX.new ;;
    2) aim=$NOTES_UNIX.saving ;;
    esac
    (timeout 60 wine "$DRIVER" sync >/dev/null 2>&1 &)
    if [ -n "$aim" ]; then
        for _ in $(seq 300000); do [ -e "$aim" ] && break; done
    else
        sleep "$(awk -v r=$RANDOM 'BEGIN { printf "%.3f", r % 1500 / 1000 }')"
    fi
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    [ -e "$NOTES_UNIX.saving" ] && aside=$((aside + 1))
    for f in "$NOTES_UNIX" "$BIN_UNIX" "$NOTES_UNIX.saving"; do
        if ! ids "$f" >/dev/null; then
            undecodable=$((undecodable + 1))
            cp "$f" "$WORK/undecodable-$try-$(basename "$f")"
            echo "kills: try $try: $(basename "$f") does not decode"
        fi
    done
    # A file the save moved aside is put back, or merged, at the next start.
    { ids "$NOTES_UNIX" || true; ids "$BIN_UNIX" || true; ids "$NOTES_UNIX.saving" || true; } |
        sort -u >"$WORK/found"
    missing=$(comm -23 "$WORK/expected" "$WORK/found" | wc -l)
    if [ "$missing" -gt 0 ]; then
        lost=$((lost + missing))
        echo "kills: try $try: $missing notes lost"
    fi
    binAfter=$( (ids "$BIN_UNIX" || true) | wc -l)
    [ "$binAfter" -gt "$binBefore" ] && merged=$((merged + 1))
    echo "kills: try $try: $undecodable undecodable, $lost lost so far; bin saved before the kill in $merged;" \
        "killed with the file moved aside in $aside"
    # The kill may leave the program's mutex to a dead process: a fresh
    # wineserver for the next start.
    (wineserver -p >/dev/null 2>&1 &)
done
# The last start takes in whatever the last kill left aside.
(cd "$WORK/Velumo" && wine Velumo.exe "$NOTES" >/dev/null 2>&1 &)
timeout 60 wine "$DRIVER" wait >/dev/null || fail "the program did not start after the last kill"
{ ids "$NOTES_UNIX" || true; ids "$BIN_UNIX" || true; ids "$NOTES_UNIX.saving" || true; } | sort -u >"$WORK/before"
timeout 60 wine "$DRIVER" sync >/dev/null 2>&1 || true
timeout 60 wine "$DRIVER" sync >/dev/null 2>&1 || true
timeout 60 wine "$DRIVER" quit >/dev/null 2>&1 || true
{ ids "$NOTES_UNIX"; ids "$BIN_UNIX"; } | sort -u >"$WORK/found"
lost=$((lost + $(comm -23 "$WORK/before" "$WORK/found" | wc -l)))
[ -e "$NOTES_UNIX.saving" ] && fail "the file moved aside by a save is still there after a start"
echo "kills: $TRIES kills, $undecodable files that do not decode, $lost notes or ids lost" \
    "(in $merged tries the bin was saved before the kill; $aside kills left the file moved aside)"
[ "$undecodable" -eq 0 ] && [ "$lost" -eq 0 ]
