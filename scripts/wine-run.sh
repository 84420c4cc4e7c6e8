#!/usr/bin/env bash
# Runs a Windows program of the build under the project's Wine prefix (CTest's emulator).
# The server must already run (scripts/wine-start.sh): a server started from here would
# inherit CTest's pipes and keep CTest waiting.
# MPCAL_WINE_DPI=<dpi> (other than 96) runs it in the prefix "<prefix>-<dpi>" instead, started by
# `scripts/wine-start.sh <prefix>-<dpi> <dpi>`; when that server is not running the program is
# not started and the exit status is 77 (CTest's skip code for such tests).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ -n "${MPCAL_WINE_DPI:-}" ] && [ "$MPCAL_WINE_DPI" != 96 ]; then
  export WINEPREFIX="$WINEPREFIX-$MPCAL_WINE_DPI"
  running=0
  for pid in $(pgrep -u "$(id -u)" wineserver); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      running=1
    fi
  done
  if [ $running -eq 0 ]; then
    echo "wine-run: no Wine server for $WINEPREFIX (start it with scripts/wine-start.sh" \
      "$WINEPREFIX $MPCAL_WINE_DPI); skipped" >&2
    exit 77
  fi
fi
exec wine "$@"
