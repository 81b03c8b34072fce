#!/usr/bin/env bash
# The Wine session the Windows program's tests run in, in $WINEPREFIX.
#
#   wine_session.sh start PROGRAM   starts a persistent server for the prefix
#                                   and runs PROGRAM once, which makes the
#                                   prefix when it is new, so no test pays for
#                                   either
#   wine_session.sh stop            stops this prefix's server, and only it
#
# Without a persistent server every run would start one, and pay seconds for it.
# Wine's own programs started here inherit the standard streams, and would
# hold a pipe open after this script ends: they get files instead.
set -euo pipefail

case "$1" in
start)
    mkdir -p "$WINEPREFIX"
    log="$WINEPREFIX/../wine_session.log"
    wineserver -k >/dev/null 2>&1 || true # the server of an earlier run, if one was left
    wineserver -p </dev/null >"$log" 2>&1
    # The first run makes the prefix: that one initialisation, unlike
    # wineboot's on an empty folder, leaves no console start waiting seconds
    # for a service that never comes.
    wine "$2" ff 16 </dev/null >"$log.out" 2>>"$log"
    if [[ "$(cat "$log.out")" != *"Your number + 1 is:  256" ]]; then
        cat "$log" "$log.out" >&2
        echo "wine_session.sh: $2 does not run under Wine" >&2
        exit 1
    fi
    echo "Wine $(wine --version) runs $2 in $WINEPREFIX"
    ;;
stop)
    wineserver -k
    ;;
*)
    echo "usage: wine_session.sh start PROGRAM | stop" >&2
    exit 2
    ;;
esac
