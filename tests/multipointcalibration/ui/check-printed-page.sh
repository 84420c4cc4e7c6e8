#!/usr/bin/env bash
# Checks the PostScript that the print test wrote, with ghostscript: exactly one page, ink on it,
# and the fit details' heading among its text; then renders the page as a PNG into the pictures
# folder (MPCAL_PICTURES_DIR, default build/pictures) at the DPI of the test's run.
# Usage: check-printed-page.sh NAME [DPI]   (reads and then removes NAME.ps in the current folder,
# writes NAME.png; with a DPI other than 96 a missing file means the test of that DPI was skipped:
# exit 77)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
name=$1
dpi=${2:-96}
file="$name.ps"
if [ ! -s "$file" ]; then
  if [ "$dpi" != 96 ]; then
    echo "check-printed-page: no $file (the $dpi-dpi print test did not run); skipped" >&2
    exit 77
  fi
  echo "check-printed-page: no $file in $PWD" >&2
  exit 1
fi
command -v gs >/dev/null 2>&1 || { echo "check-printed-page: ghostscript (gs) is missing" >&2; exit 1; }
gs_run() { gs -q -dNOPAUSE -dBATCH -dSAFER "$@"; }

failed=0
pages=$(gs_run -sDEVICE=bbox "$file" 2>&1 | grep -c '^%%BoundingBox' || true)
if [ "$pages" != 1 ]; then
  echo "check-printed-page: $file has $pages pages, not 1" >&2
  failed=1
fi
# inkcov prints the C, M, Y and K coverage of each page.
ink=$(gs_run -o - -sDEVICE=inkcov "$file" | awk '{ s += $1 + $2 + $3 + $4 } END { print (s > 0) }')
if [ "$ink" != 1 ]; then
  echo "check-printed-page: the page of $file is blank" >&2
  failed=1
fi
if ! gs_run -sDEVICE=txtwrite -sOutputFile=- "$file" | grep -q 'Calibration Fit Details'; then
  echo "check-printed-page: \"Calibration Fit Details\" is not on the page of $file" >&2
  failed=1
fi
pictures=${MPCAL_PICTURES_DIR:-$root/build/pictures}
mkdir -p "$pictures"
gs_run -sDEVICE=png16m -r"$dpi" -dTextAlphaBits=4 -dGraphicsAlphaBits=4 \
  -sOutputFile="$pictures/$name.png" "$file" || failed=1
# Checked once: a later run whose print test was skipped must not pass on this page.
rm -f "$file"
exit $failed
