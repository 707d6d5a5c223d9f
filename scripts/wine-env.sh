#!/bin/bash
# Sourced by the run and test scripts: a display, a Wine prefix and one
# persistent wineserver for everything that runs under Wine afterwards.
#   wine_env_start PREFIX_DIR [fresh]   sets DISPLAY (if none), WINEPREFIX
#   wine_env_stop                       stops the wineserver and our Xvfb
#   wine_dpi_prefix DIR DPI             a copy of the prefix at another DPI

VELUMO_XVFB_PID=""

wine_env_start() {
    local prefix fresh=${2:-}
    prefix=$(realpath -m "$1")
    export WINEPREFIX=$prefix
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ -z "${DISPLAY:-}" ] || [ "${VELUMO_FORCE_XVFB:-}" = 1 ]; then
        local fdfile
        fdfile=$(mktemp)
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
        VELUMO_XVFB_PID=$!
        for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
        export DISPLAY=":$(head -n1 "$fdfile")"
        rm -f "$fdfile"
    fi
    if [ -n "$fresh" ]; then
        wineserver -k >/dev/null 2>&1 || true
        rm -rf "$WINEPREFIX"
    fi
    mkdir -p "$(dirname "$WINEPREFIX")"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wine wineboot -i >/dev/null 2>&1
        wineserver -w
        # A crash must fail a test, not open a dialog nobody can close.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        wineserver -w
    fi
    # Without a window manager on the display (our own virtual display, or
    # a bare Xvfb the user started) Wine has to place, focus and close
    # windows itself (unmanaged): a managed window waits two seconds for a
    # window manager at every hide, so ending the program took seconds, and
    # keyboard focus never reached a new note. Where a window manager runs,
    # it does the work.
    local managed=Y
    if [ -n "$VELUMO_XVFB_PID" ] || [ "${VELUMO_WINE_UNMANAGED:-}" = 1 ] || ! has_window_manager; then
        managed=N
    fi
    # The prefix's desktop process reads the value once, when it starts, and
    # runs as long as its wineserver does: a value written while it runs only
    # holds from the next wineserver on. So the value is read from the
    # prefix's registry file, and when it must change, it is written and the
    # wineserver ended before anything else of the prefix runs (on a fresh
    # prefix that made every Exit wait two seconds for a window manager).
    if ! wine_managed_is "$managed"; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$managed" /f >/dev/null 2>&1
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
    fi
    # Started in the background: a persistent wineserver started here would
    # otherwise keep the shell waiting.
    (wineserver -p >/dev/null 2>&1 &)
    wine cmd /c exit >/dev/null 2>&1 || true
}

# A copy of WINEPREFIX whose display has another DPI (LogPixels 144 is 150%),
# for the display-scale tests and pictures: Wine gives every program the
# prefix's DPI. Copying takes about a second, a new prefix a minute. Its own
# wineserver is started to last the run; wine_env_stop ends it.
VELUMO_DPI_PREFIXES=()
wine_dpi_prefix() {
    local dir dpi=$2
    dir=$(realpath -m "$1")
    WINEPREFIX=$dir wineserver -k >/dev/null 2>&1 || true
    rm -rf "$dir"
    cp -a "$WINEPREFIX" "$dir"
    WINEPREFIX=$dir wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        >/dev/null 2>&1
    # The new DPI holds from the next wineserver on.
    WINEPREFIX=$dir wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX=$dir wineserver -w >/dev/null 2>&1 || true
    (WINEPREFIX=$dir wineserver -p >/dev/null 2>&1 &)
    VELUMO_DPI_PREFIXES+=("$dir")
}

# True when the prefix's registry already holds Managed=VALUE for the X11
# driver (user.reg is written by the wineserver as it ends, and read here
# without starting anything of the prefix).
wine_managed_is() {
    local file=$WINEPREFIX/user.reg
    [ -f "$file" ] || return 1
    awk -v want="\"Managed\"=\"$1\"" '
        /^\[/ { inside = ($0 ~ /^\[Software\\\\Wine\\\\X11 Driver\]/) }
        inside && $0 == want { found = 1 }
        END { exit found ? 0 : 1 }' "$file"
}

# A window manager announces itself on the root window.
has_window_manager() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

wine_env_stop() {
    local dir
    for dir in "${VELUMO_DPI_PREFIXES[@]}"; do
        WINEPREFIX=$dir wineserver -k >/dev/null 2>&1 || true
    done
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    if [ -n "$VELUMO_XVFB_PID" ]; then
        kill "$VELUMO_XVFB_PID" 2>/dev/null || true
        wait "$VELUMO_XVFB_PID" 2>/dev/null || true
    fi
}
