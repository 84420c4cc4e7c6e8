#!/usr/bin/env bash
# Runs a Windows program of the build under the project's Wine prefix (CTest's emulator).
# The server must already run (scripts/wine-start.sh): a server started from here would
# inherit CTest's pipes and keep CTest waiting.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec wine "$@"
