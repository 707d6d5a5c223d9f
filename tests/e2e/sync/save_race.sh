#!/bin/bash
# The save race: while the program's save has notes.dat.new on disk, another
# computer's version is renamed over notes.dat (as a sync client brings it
# in). The program must notice before its own rename and merge that version
# first: every note of it must be in the file afterwards.
#   save_race.sh BUILD_DIR [TRIES]
# Runs inside the test environment (WINEPREFIX and DISPLAY set by
# scripts/wine-env.sh). The file is about 3.6 MB, so that a save takes long
# enough to be caught half-way. Not part of the test command.
set -euo pipefail
BUILD=$(realpath "$1")
TRIES=${2:-50}
WORK=$BUILD/save-race
fail() { echo "save race: $*" >&2; exit 1; }
source "$(dirname "$0")/work_folder.sh"
sync_work_folder "$BUILD" "$WORK"
"$TOOL" make "$NOTES_UNIX" 3000 975
echo "save race: a file of $(stat -c %s "$NOTES_UNIX") bytes"
(cd "$WORK/Velumo" && wine Velumo.exe "$NOTES" >/dev/null 2>&1 &)
trap 'wine taskkill /f /im Velumo.exe >/dev/null 2>&1 || true' EXIT
timeout 120 wine "$DRIVER" wait >/dev/null || fail "the program did not start"

caught=0 lost=0
for try in $(seq "$TRIES"); do
    timeout 60 wine "$DRIVER" sync >/dev/null 2>&1 || true  # the file as the program knows it
    "$TOOL" other "$NOTES_UNIX" "$WORK/other.dat" "race-$try" || fail "the file does not decode before try $try"
    theirs=$("$TOOL" ids "$WORK/other.dat" | awk -v t="race-$try" '$2 == t { print $1 }')
    # Renamed in the moment the program's new file shows.
    (
        for _ in $(seq 200000); do
            if [ -e "$NOTES_UNIX.new" ]; then
                mv -f "$WORK/other.dat" "$NOTES_UNIX"
                [ -e "$NOTES_UNIX.new" ] && echo caught >"$WORK/caught"
                exit 0
            fi
        done
    ) &
    watcher=$!
    rm -f "$WORK/caught"
    timeout 60 wine "$DRIVER" act K 1 >/dev/null 2>&1 || true  # a change of ours to save
    timeout 60 wine "$DRIVER" sync >/dev/null 2>&1 || fail "a pass did not run (try $try)"
    wait "$watcher" || true
    [ -e "$WORK/other.dat" ] && mv -f "$WORK/other.dat" "$NOTES_UNIX"  # not caught: brought in after
    [ -e "$WORK/caught" ] && caught=$((caught + 1))
    timeout 60 wine "$DRIVER" sync >/dev/null 2>&1 || fail "a pass did not run (try $try)"
    timeout 60 wine "$DRIVER" sync >/dev/null 2>&1 || fail "a pass did not run (try $try)"
    if ! "$TOOL" ids "$NOTES_UNIX" | grep -q "^$theirs "; then
        lost=$((lost + 1))
        echo "save race: try $try: the other version's new note is lost"
    fi
done
echo "save race: $TRIES tries, $caught renamed while notes.dat.new was there, $lost lost"
[ "$lost" -eq 0 ]
