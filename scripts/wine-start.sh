#!/usr/bin/env bash
# Starts a persistent wineserver for the project's prefix and boots the prefix, with every
# standard stream on /dev/null. Idempotent. Prints the server's PID on stdout.
# Usage: scripts/wine-start.sh [prefix [dpi]]   (default build/wineprefix; dpi sets the
# screen's LogPixels, e.g. 144 for the scaling tests, and applies to processes started later)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${1:-${WINEPREFIX:-$root/build/wineprefix}}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1 || true
fresh=0
[ -f "$WINEPREFIX/system.reg" ] || fresh=1
wine wineboot </dev/null >/dev/null 2>&1
if [ $fresh -eq 1 ] || ! grep -q '"Graphics"="null"' "$WINEPREFIX/user.reg" 2>/dev/null; then
  # No display needed: windows, GDI, metafiles and the clipboard work with the null driver.
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
fi
# Wine's own fonts (fonts-wine) where every process finds them, so that "MS Shell Dlg 2" is
# Tahoma and text measures the same on every machine.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ]; then
  for f in /usr/share/wine/fonts/*.ttf; do
    [ -e "$fonts/$(basename "$f")" ] || cp "$f" "$fonts/"
  done
fi
if [ $fresh -eq 1 ]; then
  # The desktop process of the first boot started without a driver: boot again with this one,
  # or the first windows of a fresh prefix cannot be made.
  wineserver -k </dev/null >/dev/null 2>&1 || true
  wineserver -w </dev/null >/dev/null 2>&1 || true
  wineserver -p </dev/null >/dev/null 2>&1 || true
  wine wineboot </dev/null >/dev/null 2>&1
fi
# A print-to-file PostScript printer (Wine's driver) as the default printer, for the printing
# tests; the small program that adds it is built once per prefix.
if ! grep -q 'MPCal PostScript File' "$WINEPREFIX/system.reg" 2>/dev/null; then
  printer_tool="$WINEPREFIX/drive_c/mpcal-add-printer.exe"
  [ -f "$printer_tool" ] ||
    x86_64-w64-mingw32-gcc-posix -municode -O1 -static -o "$printer_tool" "$root/scripts/wine-printer.c" \
      -lwinspool
  wine "$printer_tool" </dev/null >/dev/null 2>&1 || echo "wine-start: no print-to-file printer" >&2
fi
dpi=${2:-}
if [ -n "$dpi" ] && ! grep -qi "\"LogPixels\"=dword:$(printf '%08x' "$dpi")" "$WINEPREFIX/user.reg" 2>/dev/null; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    </dev/null >/dev/null 2>&1
fi
# The server of this prefix: the one whose environment names it.
for pid in $(pgrep -u "$(id -u)" wineserver); do
  if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
    echo "$pid"
  fi
done
