#!/usr/bin/env bash
# Stops the wineserver of the given prefix (and everything running in it).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${1:-${WINEPREFIX:-$root/build/wineprefix}}
wineserver -k </dev/null >/dev/null 2>&1 || true
wineserver -w </dev/null >/dev/null 2>&1 || true
