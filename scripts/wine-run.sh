#!/bin/bash
# Runs one Windows program under Wine with a time limit, so a hang fails the
# run instead of stalling it. Expects the environment that scripts/test.sh
# (or scripts/wine-env.sh) sets up: WINEPREFIX, DISPLAY, a running wineserver.
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec timeout -k 5 "${VELUMO_WINE_TIMEOUT:-150}" wine "$@"
