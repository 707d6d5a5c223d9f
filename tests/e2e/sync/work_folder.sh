# Sourced by the scripts that run copies of the program on a shared notes
# file (two_computers.sh and the tools in this folder): the work folder
# with its shared folder and copy of the program, and the second
# computer's Wine prefix.

# sync_work_folder BUILD_DIR WORK: a fresh WORK/shared and WORK/Velumo; sets
# DRIVER, TOOL (the host build's file tool), NOTES_UNIX and NOTES (the
# shared notes file, as a Unix and as a Windows path).
sync_work_folder() {
    rm -rf "$2"
    mkdir -p "$2/shared"
    cp -r "$1/win/Velumo" "$2/Velumo"
    DRIVER=$1/win/tests/e2e/velumo_sync_driver.exe
    TOOL=$1/host/tests/host/velumo_notes_file
    NOTES_UNIX=$2/shared/notes.dat
    NOTES=$(winepath -w "$NOTES_UNIX")
}

# second_computer_prefix PREFIX: made once, set like the test prefix (no
# crash dialog, windows placed by the window manager), and its wineserver
# kept running, so that each copy started there finds it.
second_computer_prefix() {
    if [ ! -f "$1/system.reg" ]; then
        WINEPREFIX=$1 wine wineboot -i >/dev/null 2>&1
        WINEPREFIX=$1 wineserver -w
        WINEPREFIX=$1 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            >/dev/null 2>&1
        WINEPREFIX=$1 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    fi
    (WINEPREFIX=$1 wineserver -p >/dev/null 2>&1 &)
}
