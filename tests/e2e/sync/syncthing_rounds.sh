#!/bin/bash
# Two computers that share their notes through a real sync client: two
# Syncthing instances on this machine keep folder A and folder B in step,
# and one copy of Velumo works on each folder's notes.dat, in a Wine prefix
# of its own. Each round takes the link down (both sides pause the other
# device), lets each user add a note and type in an older one while
# offline, brings the link back, waits until Syncthing has both folders
# equal and both copies have merged what came, then checks both files: every
# note and every edit on both sides, no conflict copy left, no undeclared
# duplicate. One line of figures per round goes to rounds.log.
#   syncthing_rounds.sh BUILD_DIR [ROUNDS]
# Runs inside the test environment (WINEPREFIX and DISPLAY set by
# scripts/wine-env.sh), like two_computers.sh, whose second prefix it shares.
set -euo pipefail
BUILD=$(realpath "$1")
ROUNDS=${2:-20}
WORK=$BUILD/syncthing-rounds
DRIVER=$BUILD/win/tests/e2e/velumo_sync_driver.exe
source "$(dirname "$0")/work_folder.sh"
LOG=$WORK/actions.log        # what the users did, read by the driver's check
FIGURES=$WORK/rounds.log     # one line per round
declare -A PREFIX=([A]=$WINEPREFIX [B]=$WINEPREFIX-second-computer)
# Fixed loopback ports, away from Syncthing's defaults so that a user's own
# instance on this machine is never the one we talk to.
declare -A GUI=([A]=127.0.0.1:18384 [B]=127.0.0.1:18385)
declare -A LISTEN=([A]=tcp://127.0.0.1:22101 [B]=tcp://127.0.0.1:22102)
declare -A KEY=([A]=velumo-rounds-key-a [B]=velumo-rounds-key-b)
declare -A ID ST_PID VELUMO_PID
FOLDER=velumo-notes
fail() { echo "syncthing rounds: $*" >&2; exit 1; }
other() { [ "$1" = A ] && echo B || echo A; }
say() { echo "$*" | tee -a "$FIGURES"; }

# Only what this run started is ended: a copy asked to exit, then the
# processes by their ids, and the second prefix's own wineserver.
cleanup() {
    for side in A B; do
        if [ -n "${VELUMO_PID[$side]:-}" ]; then
            on "$side" quit >/dev/null 2>&1 || kill "${VELUMO_PID[$side]}" 2>/dev/null || true
        fi
        [ -n "${ST_PID[$side]:-}" ] && kill "${ST_PID[$side]}" 2>/dev/null || true
    done
    WINEPREFIX=${PREFIX[B]} wineserver -k >/dev/null 2>&1 || true
}

# --- Syncthing -------------------------------------------------------------
rest() {  # side method path [body]
    curl -fsS -m 10 -X "$2" -H "X-API-Key: ${KEY[$1]}" ${4:+-d "$4"} "http://${GUI[$1]}/rest/$3"
}

# Keys and certificate from Syncthing itself; the configuration is ours, so
# that nothing reaches beyond this machine: no discovery, relays, NAT,
# usage reports or crash reports, the peer at a fixed loopback address. A
# folder written by hand gets 0 for what it leaves out, and maxConflicts 0
# makes Syncthing throw the losing version away instead of keeping it as a
# conflict copy, so the default of 10 is written out.
make_home() {  # side
    local home=$WORK/st-$1
    mkdir -p "$home"
    syncthing generate --home="$home" --no-default-folder --skip-port-probing >"$home/generate.log" 2>&1
    ID[$1]=$(syncthing serve --home="$home" --device-id)
}

write_config() {  # side
    local side=$1 peer
    peer=$(other "$1")
    cat >"$WORK/st-$side/config.xml" <<EOF
<configuration version="36">
  <folder id="$FOLDER" label="notes $side" path="$WORK/folder-$side" type="sendreceive"
          rescanIntervalS="60" fsWatcherEnabled="true" fsWatcherDelayS="1">
    <device id="${ID[A]}"></device>
    <device id="${ID[B]}"></device>
    <maxConflicts>10</maxConflicts>
  </folder>
  <device id="${ID[$side]}" name="computer-$side"><address>dynamic</address></device>
  <device id="${ID[$peer]}" name="computer-$peer"><address>${LISTEN[$peer]}</address></device>
  <gui enabled="true" tls="false"><address>${GUI[$side]}</address><apikey>${KEY[$side]}</apikey></gui>
  <options>
    <listenAddress>${LISTEN[$side]}</listenAddress>
    <globalAnnounceEnabled>false</globalAnnounceEnabled>
    <localAnnounceEnabled>false</localAnnounceEnabled>
    <relaysEnabled>false</relaysEnabled>
    <natEnabled>false</natEnabled>
    <urAccepted>-1</urAccepted>
    <autoUpgradeIntervalH>0</autoUpgradeIntervalH>
    <crashReportingEnabled>false</crashReportingEnabled>
    <startBrowser>false</startBrowser>
    <reconnectionIntervalS>1</reconnectionIntervalS>
  </options>
</configuration>
EOF
}

start_syncthing() {  # side
    mkdir -p "$WORK/folder-$1/.stfolder"
    STNOUPGRADE=1 syncthing serve --home="$WORK/st-$1" --no-browser --no-restart \
        --logfile="$WORK/st-$1/syncthing.log" >/dev/null 2>&1 &
    ST_PID[$1]=$!
    for _ in $(seq 100); do rest "$1" GET system/ping >/dev/null 2>&1 && return 0; sleep 0.2; done
    fail "Syncthing $1 did not answer"
}

connected() {  # side: true while it holds a connection to the other
    rest "$1" GET system/connections |
        jq -e --arg id "${ID[$(other "$1")]}" '.connections[$id].connected' >/dev/null
}

# Each side pauses the other, as a laptop that leaves the network looks to
# both; the wait makes sure nothing more crosses before the users act.
set_link() {  # pause|resume
    for side in A B; do rest "$side" POST "system/$1?device=${ID[$(other "$side")]}" >/dev/null; done
    for _ in $(seq 150); do
        if [ "$1" = pause ] && ! connected A && ! connected B; then return 0; fi
        if [ "$1" = resume ] && connected A && connected B; then return 0; fi
        sleep 0.2
    done
    fail "the link did not $1"
}

scan() { for side in A B; do rest "$side" POST "db/scan?folder=$FOLDER" >/dev/null; done; }

# What a folder holds, file by file. Syncthing's own marker and temporaries
# are left out: a pull cut short by a save keeps its temporary for a day,
# on one side only, and it never travels. A temporary file gone between the
# listing and its read is no error.
folder_files() {  # side
    (cd "$WORK/folder-$1" && find . -path ./.stfolder -prune -o -type f ! -name '.syncthing.*.tmp' \
        ! -name '~syncthing~*.tmp' -print0 | sort -z |
        xargs -0 -r sha1sum 2>/dev/null) || true
}
folder_hash() { folder_files "$1" | sha1sum | cut -c1-40; }

# Why the folders are not in step, for the figures: each side's state and
# the files that differ.
log_not_in_sync() {
    for side in A B; do
        rest "$side" GET "db/status?folder=$FOLDER" |
            jq -c --arg s "$side" '{side: $s, state, needTotalItems, errors, pullErrors}' >>"$FIGURES"
    done
    diff <(folder_files A) <(folder_files B) | sed 's/^/  differs: /' >>"$FIGURES" || true
}

# Idle on both sides, nothing needed from the other, and the same bytes in
# both folders: then Syncthing has nothing left to do.
in_sync() {
    local side status
    for side in A B; do
        status=$(rest "$side" GET "db/status?folder=$FOLDER") || return 1
        jq -e '.state == "idle" and .needTotalItems == 0' <<<"$status" >/dev/null || return 1
        rest "$side" GET "db/completion?folder=$FOLDER&device=${ID[$(other "$side")]}" |
            jq -e '.completion == 100' >/dev/null || return 1
    done
    [ "$(folder_hash A)" = "$(folder_hash B)" ]
}

wait_in_sync() {  # for at most 45 s, scanning again every 5 s
    local deadline=$((SECONDS + 45)) next_scan=$((SECONDS + 5))
    scan
    while [ "$SECONDS" -lt "$deadline" ]; do
        in_sync && return 0
        if [ "$SECONDS" -ge "$next_scan" ]; then scan; next_scan=$((SECONDS + 5)); fi
        sleep 0.25
    done
    log_not_in_sync
    return 1
}

conflict_copies() {  # side: the names Syncthing gave, one a line
    (cd "$WORK/folder-$1" && find . -name '*.sync-conflict-*' -printf '%P\n' | sort)
}
count_copies() { conflict_copies "$1" | wc -l; }

# --- Velumo ----------------------------------------------------------------
on() {  # side driver-command...
    local side=$1
    shift
    WINEPREFIX=${PREFIX[$side]} timeout 60 wine "$DRIVER" "$@"
}

make_second_prefix() { second_computer_prefix "${PREFIX[B]}"; }

# Each computer has its own installation (its own Velumo.ini, so its own
# installation id) and opens the notes file in its own synced folder.
start_velumo() {  # side
    local side=$1 notes
    cp -r "$BUILD/win/Velumo" "$WORK/velumo-$side"
    notes=$(WINEPREFIX=${PREFIX[$side]} winepath -w "$WORK/folder-$side/notes.dat")
    (cd "$WORK/velumo-$side" && WINEPREFIX=${PREFIX[$side]} exec wine Velumo.exe "$notes") >/dev/null 2>&1 &
    VELUMO_PID[$side]=$!
    on "$side" wait || fail "Velumo $side did not start"
}

pass() {  # side: one housekeeping pass; what it told the user goes to the log
    on "$1" sync | tr -d '\r' >>"$LOG" || fail "a pass of $1 did not run"
}

# Passes on both sides, each followed by a sync, until a whole cycle changes
# nothing and no conflict copy is left: the copies have merged what came.
settle() {
    local before after
    for cycle in $(seq 6); do
        before=$(folder_hash A)
        pass A
        wait_in_sync || return 1
        pass B
        wait_in_sync || return 1
        after=$(folder_hash A)
        if [ "$cycle" -ge 2 ] && [ "$before" = "$after" ] && [ -z "$(conflict_copies A)" ]; then
            return 0
        fi
    done
    return 0  # still changing: the check will say what is missing
}

# The driver's check of one side's file against everything done so far.
# Its findings go to the figures, each different one once with its count.
check_side() {  # side: prints "lost damaged lostEdits duplicates onOriginal"
    local out n='\([0-9][0-9]*\)'
    out=$(on A check "$(WINEPREFIX=${PREFIX[A]} winepath -w "$WORK/folder-$1/notes.dat")" \
        "$(WINEPREFIX=${PREFIX[A]} winepath -w "$LOG")" | tr -d '\r') || true
    grep -v '^two computers: [0-9]* rounds' <<<"$out" | sort | uniq -c | sed "s/^/  $1: /" >>"$FIGURES"
    sed -n "s/.* $n lost, $n damaged, $n lost edits, .* $n undeclared .* $n versions on.*/\1 \2 \3 \4 \5/p" <<<"$out"
}

offline_round() {  # round
    local round=$1 start copies_seen figures_a figures_b left
    start=$(date +%s.%N)
    echo "round $round" >>"$LOG"
    set_link pause
    for side in A B; do
        on "$side" offline "$side" "$round" | tr -d '\r' >>"$LOG" || fail "$side could not act in round $round"
        pass "$side"
    done
    scan  # each side knows its own change before it meets the other's
    sleep 2
    set_link resume
    wait_in_sync || say "round $round: the folders did not come into step"
    # Syncthing's verdict before Velumo has seen it: which copy it kept aside.
    # Kept for a look if a round loses something.
    copies_seen=$(conflict_copies A | tr '\n' ' ')
    echo "  conflict copies made: ${copies_seen:-none}" >>"$FIGURES"
    mkdir -p "$WORK/seen/round-$round"
    cp -r "$WORK/folder-A/." "$WORK/seen/round-$round/"
    settle || say "round $round: the folders did not come into step after the passes"
    read -r -a figures_a <<<"$(check_side A)"
    read -r -a figures_b <<<"$(check_side B)"
    left=$(( $(count_copies A) + $(count_copies B) ))
    say "round $round: A lost ${figures_a[0]:-?} damaged ${figures_a[1]:-?} lost-edits ${figures_a[2]:-?}" \
        "dups ${figures_a[3]:-?} on-original ${figures_a[4]:-?} | B lost ${figures_b[0]:-?}" \
        "damaged ${figures_b[1]:-?} lost-edits ${figures_b[2]:-?} dups ${figures_b[3]:-?}" \
        "on-original ${figures_b[4]:-?} | conflict copies left $left |" \
        "same bytes $([ "$(folder_hash A)" = "$(folder_hash B)" ] && echo yes || echo no) |" \
        "$(awk "BEGIN { printf \"%.1f\", $(date +%s.%N) - $start }") s"
}

# --- The run ---------------------------------------------------------------
# curl and jq come with the machine; Syncthing is brought when missing.
command -v syncthing >/dev/null || apt-get install -y syncthing >/dev/null
trap cleanup EXIT
rm -rf "$WORK"
mkdir -p "$WORK"
: >"$LOG"
: >"$FIGURES"
for side in A B; do make_home "$side"; done
for side in A B; do write_config "$side" && start_syncthing "$side"; done
make_second_prefix
# A's user starts with one note; B's computer gets the file through
# Syncthing before its copy of Velumo starts, as a second computer would.
start_velumo A
on A offline A 0 | tr -d '\r' >>"$LOG" || fail "A could not add the first note"
pass A
set_link resume
wait_in_sync || fail "the first note did not reach B"
start_velumo B
for round in $(seq "$ROUNDS"); do offline_round "$round"; done
say "total: $(grep -c '^add ' "$LOG") notes added, $(grep -c '^type ' "$LOG") edits," \
    "$(grep -c '^told ' "$LOG") messages; figures per round above"
for side in A B; do on "$side" quit || fail "Velumo $side did not end"; VELUMO_PID[$side]=""; done
! grep '^round' "$FIGURES" | grep -q 'lost [1-9]\|edits [1-9]\|dups [1-9]\|original [1-9]\|left [1-9]\|damaged [1-9]\|bytes no\|step'

