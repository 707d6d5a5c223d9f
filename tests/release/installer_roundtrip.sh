#!/bin/bash
# The installer end to end under Wine, as a user meets it: silent install,
# the files and the uninstall entry, the installed program starts and makes
# its notes file; installing again over a running copy ends it and keeps the
# notes; a silent uninstall ends the running copy, removes the program and
# keeps the notes; an uninstall with /DELETENOTES removes them too.
# Needs the Wine set-up of scripts/test.sh (WINEPREFIX, DISPLAY, wineserver).
#   installer_roundtrip.sh SETUP_EXE
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
SETUP=$1
# No desktop menu entries on the machine that runs the test.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};winemenubuilder.exe=d"
run() { VELUMO_WINE_TIMEOUT=60 "$ROOT/scripts/wine-run.sh" "$@"; }
fail() { echo "installer round trip: $*" >&2; exit 1; }
winvar() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }

UNINST_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velumo'
RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
OPTION_KEY='HKCU\Software\Tarkwen\Velumo\Option'
INSTDIR="$(winepath -u "$(winvar LOCALAPPDATA)")/Programs/Velumo"
SHORTCUT="$(winepath -u "$(winvar APPDATA)")/Microsoft/Windows/Start Menu/Programs/Velumo.lnk"
PROGRAM_FILES=(Velumo.exe Velumo.chm ReadMe.txt uninstall.exe Skins/skin.ini Skins/main.bmp Skins/mask.bmp
               Skins/over.bmp Skins/down.bmp Skins/disabled.bmp)

reg_has() { wine reg query "$1" ${2:+/v "$2"} >/dev/null 2>&1; }
running() { pgrep -f 'Programs.Velumo.Velumo\.exe' >/dev/null; }
wait_for() {  # seconds, condition...
    local tries=$(($1 * 5)); shift
    for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.2; done
    return 1
}
start_installed() {
    (cd "$INSTDIR" && wine "$INSTDIR/Velumo.exe" >/dev/null 2>&1 &)
    wait_for 20 test -f "$INSTDIR/notes.dat" || fail "the installed Velumo made no notes.dat"
    wait_for 10 running || fail "the installed Velumo is not running"
    sleep 1
}
uninstall() {  # the uninstaller runs from a copy of itself: wait for its work
    run "$INSTDIR/uninstall.exe" /S "$@" || fail "the uninstaller failed"
    wait_for 40 bash -c "! test -e '$INSTDIR/uninstall.exe' && ! wine reg query '$UNINST_KEY' >/dev/null 2>&1" ||
        fail "the uninstaller did not finish"
}
program_files_present() {
    for f in "${PROGRAM_FILES[@]}"; do [ -f "$INSTDIR/$f" ] || return 1; done
}
program_files_gone() {
    for f in "${PROGRAM_FILES[@]}"; do [ ! -e "$INSTDIR/$f" ] || return 1; done
}

# A clean slate in the test prefix.
rm -rf "$INSTDIR"
wine reg delete "$UNINST_KEY" /f >/dev/null 2>&1 || true

echo "installer round trip: silent install"
run "$SETUP" /S || fail "silent install failed"
program_files_present || fail "files missing in $INSTDIR: $(cd "$INSTDIR" 2>/dev/null && find . | tr '\n' ' ')"
# The installed copy is removed through Settings, not by deleting its folder.
grep -q "Uninstall" "$INSTDIR/ReadMe.txt" && ! grep -q "delete the folder" "$INSTDIR/ReadMe.txt" ||
    fail "the installed ReadMe.txt is not the installed copy's own"
[ ! -e "$INSTDIR/notes.dat" ] || fail "the package brought a notes.dat"
[ -f "$SHORTCUT" ] || fail "no Start-menu shortcut"
query=$(wine reg query "$UNINST_KEY" 2>/dev/null | tr -d '\r')
for expected in "DisplayName.*Velumo" "DisplayVersion.*2\.00" "Publisher.*Tarkwen" \
                "DisplayIcon.*Velumo\.exe" "UninstallString.*uninstall\.exe" "QuietUninstallString.*/S"; do
    grep -qE "$expected" <<<"$query" || fail "uninstall entry lacks $expected"
done

echo "installer round trip: the installed program starts"
start_installed
notes_before=$(md5sum < "$INSTDIR/notes.dat")

echo "installer round trip: installing again over the running copy"
run "$SETUP" /S || fail "install over a running copy failed"
running && fail "the installer left Velumo running"
program_files_present || fail "files missing after installing again"
[ "$(md5sum < "$INSTDIR/notes.dat")" = "$notes_before" ] || fail "installing again changed notes.dat"

echo "installer round trip: silent uninstall keeps the notes"
start_installed
wine reg add "$RUN_KEY" /v "Velumo 2.00" /d "$(winepath -w "$INSTDIR/Velumo.exe")" /f >/dev/null 2>&1
wine reg add "$OPTION_KEY" /v AutoRun /d TRUE /f >/dev/null 2>&1
reg_has "$RUN_KEY" "Velumo 2.00" && reg_has "$OPTION_KEY" AutoRun || fail "could not set up the registry values"
uninstall
running && fail "the uninstaller left Velumo running"
program_files_gone || fail "program files left: $(cd "$INSTDIR" && find . -type f | tr '\n' ' ')"
[ ! -e "$SHORTCUT" ] || fail "the Start-menu shortcut is left"
[ "$(md5sum < "$INSTDIR/notes.dat")" = "$notes_before" ] || fail "notes.dat changed or went"
[ -f "$INSTDIR/Velumo.ini" ] || fail "the settings file went"
reg_has "$RUN_KEY" "Velumo 2.00" && fail "the start-with-Windows entry is left"
reg_has "$OPTION_KEY" AutoRun || fail "the option went"

echo "installer round trip: uninstall with the notes"
run "$SETUP" /S || fail "reinstall failed"
uninstall /DELETENOTES
[ ! -e "$INSTDIR" ] || fail "left behind: $(cd "$INSTDIR" && find . | tr '\n' ' ')"
reg_has "$OPTION_KEY" AutoRun && fail "the option is left"
echo "installer round trip: passed"
