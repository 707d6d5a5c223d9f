#!/bin/bash
# Two computers sharing one notes file through a synced folder: two copies of
# Velumo, each in a Wine prefix of its own (its own wineserver, so neither
# sees the other's single-instance mutex), on one notes file given on the
# command line. Each round both users make one edit (add, type, delete, move;
# in some rounds both add one text, or both go for one note: typed on both
# with the caret left in it, deleted or moved on one and typed on the
# other), then each copy runs its housekeeping pass in turn, so each notices
# what the other wrote; every few rounds the file is replaced by a rename in
# between, as sync clients replace it, or it is gone for a pass, or a pass
# finds it empty or cut in half (a sync client still writing it); the
# client then brings the whole file, as a conflict copy when a copy wrote
# the file meanwhile. At the end every note added on either side and
# deleted on neither must be in the file, its text undamaged, with every
# edit and last move; no note twice that was not made twice, no deleted note
# back, no second version of a note exactly on the first, and every note
# deleted on either side in the shared bin.
#   two_computers.sh BUILD_DIR [ROUNDS]
# VELUMO_FILE_FAULTS=rename keeps the sync client to replacing the file by a
# rename; the default (all) also takes it away for a pass, empties it and
# cuts it in half.
# Runs inside the test environment (WINEPREFIX and DISPLAY set by
# scripts/wine-env.sh); the second prefix is made beside the first.
set -euo pipefail
BUILD=$(realpath "$1")
ROUNDS=${2:-20}
PREFIX_A=$WINEPREFIX
PREFIX_B=$WINEPREFIX-second-computer
WORK=$BUILD/two-computers
DRIVER=$BUILD/win/tests/e2e/velumo_sync_driver.exe
fail() { echo "two computers: $*" >&2; exit 1; }

rm -rf "$WORK"
mkdir -p "$WORK/shared"
cp -r "$BUILD/win/Velumo" "$WORK/Velumo"
NOTES_UNIX=$WORK/shared/notes.dat
NOTES=$(WINEPREFIX=$PREFIX_A winepath -w "$NOTES_UNIX")
LOG=$WORK/actions.log
: >"$LOG"

source "$(dirname "$0")/sync/work_folder.sh"
second_computer_prefix "$PREFIX_B"
# A run that fails half-way leaves no copy behind: the next run in the same
# prefix would otherwise meet the old copy and not start its own.
trap 'WINEPREFIX=$PREFIX_B wineserver -k >/dev/null 2>&1 || true
      WINEPREFIX=$PREFIX_A wine taskkill /f /im Velumo.exe >/dev/null 2>&1 || true' EXIT

# Why a driver call failed: one that ran out of time was ended by timeout
# (the copy's window may still have answered later); else the driver said
# why in the log.
status() {
    [ "$1" -eq 124 ] && echo "the driver ran out of its 120 s" || echo "driver status $1; see $LOG"
}
on() {  # side command...
    local prefix=$PREFIX_A
    [ "$1" = B ] && prefix=$PREFIX_B
    shift
    local began=$SECONDS rc=0
    WINEPREFIX=$prefix timeout 120 wine "$DRIVER" "$@" || rc=$?
    # A loaded machine shows here first: the driver's start is not in its
    # own "slow pass" lines.
    [ $((SECONDS - began)) -lt 30 ] || echo "slow driver call: $* took $((SECONDS - began)) s" >>"$LOG"
    return $rc
}
start() {  # side
    local prefix=$PREFIX_A
    [ "$1" = B ] && prefix=$PREFIX_B
    (cd "$WORK/Velumo" && WINEPREFIX=$prefix wine Velumo.exe "$NOTES" >/dev/null 2>&1 &)
    on "$1" wait || fail "copy $1 did not start"
}

# What a sync client does to the file between two passes, by the round.
# Whatever it took away comes back once the pass has seen the gap: moved in
# when nobody wrote the file meanwhile, else beside it as a conflict copy.
CONFLICT=0
interfere() {  # round
    local whole=$WORK/whole.dat kind=$(($1 % 10))
    [ "${VELUMO_FILE_FAULTS:-all}" = rename ] && [ $((kind % 5)) -ne 0 ] && return
    case $kind in
    0 | 5) cp "$NOTES_UNIX" "$NOTES_UNIX.synctmp" && mv -f "$NOTES_UNIX.synctmp" "$NOTES_UNIX"; return ;;
    2 | 7) mv "$NOTES_UNIX" "$whole" ;;  # gone for a pass
    4) cp "$NOTES_UNIX" "$whole" && : >"$NOTES_UNIX.synctmp" && mv -f "$NOTES_UNIX.synctmp" "$NOTES_UNIX" ;;
    9) cp "$NOTES_UNIX" "$whole" && head -c $(($(stat -c %s "$whole") / 2)) "$whole" >"$NOTES_UNIX.synctmp" &&
        mv -f "$NOTES_UNIX.synctmp" "$NOTES_UNIX" ;;
    *) return 0 ;;  # no fault this round
    esac
    echo "file $kind" >>"$LOG"
    local left=$WORK/left.dat
    [ -e "$NOTES_UNIX" ] && cp "$NOTES_UNIX" "$left"
    on B sync | tr -d '\r' >>"$LOG" || fail "a pass did not run in round $1 ($(status $?))"
    if [ ! -e "$NOTES_UNIX" ]; then
        mv "$whole" "$NOTES_UNIX"
    elif [ -e "$left" ] && cmp -s "$NOTES_UNIX" "$left"; then
        mv -f "$whole" "$NOTES_UNIX"
    else
        CONFLICT=$((CONFLICT + 1))
        mv "$whole" "$WORK/shared/notes.sync-conflict-20261209-0645$(printf %02d $((CONFLICT % 60)))-SYNCTST.dat"
    fi
    rm -f "$left"
}

start A
start B
for round in $(seq "$ROUNDS"); do
    echo "round $round" >>"$LOG"
    on A act A "$round" | tr -d '\r' >>"$LOG" || fail "A could not act in round $round"
    on B act B "$round" | tr -d '\r' >>"$LOG" || fail "B could not act in round $round"
    on A sync | tr -d '\r' >>"$LOG" || fail "a pass did not run in round $round ($(status $?))"
    interfere "$round"
    { on B sync && on A sync; } | tr -d '\r' >>"$LOG" || fail "a pass did not run in round $round ($(status $?))"
done
{ on B sync && on A sync && on B sync; } | tr -d '\r' >>"$LOG"
on A quit || fail "A did not end"
on B quit || fail "B did not end"
left=$(find "$WORK/shared" -name 'notes.sync-conflict-*' | wc -l)
[ "$left" -eq 0 ] || fail "$left conflict copies left beside the file"
on A check "$NOTES" "$(WINEPREFIX=$PREFIX_A winepath -w "$LOG")"
