#!/usr/bin/env bash
# Builds the Windows preset and runs the window tests (CTest label "gui"; they take the pictures)
# in Wine prefixes at 96 and 144 dpi; the PNGs land in build/pictures/, the curve window's printed
# page among them (printed-report*.png, rendered from its PostScript by ghostscript). One of the
# tests, velahost_tour, is a whole calibration session in the reference host, a picture per step in
# build/pictures/tour/.
# Environment: MPCAL_BUILD_DIR (default build/windows), MPCAL_PICTURES_DIR (default
# build/pictures), MPCAL_JOBS (default the number of processors), MPCAL_TARGETS (build only these).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=${MPCAL_BUILD_DIR:-build/windows}
jobs=${MPCAL_JOBS:-$(nproc)}

[ -f "$build/CMakeCache.txt" ] || cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" -j "$jobs" ${MPCAL_TARGETS:+--target $MPCAL_TARGETS}

export MPCAL_PICTURES_DIR=${MPCAL_PICTURES_DIR:-$root/build/pictures}
mkdir -p "$MPCAL_PICTURES_DIR"
rm -f "$MPCAL_PICTURES_DIR"/*.png "$MPCAL_PICTURES_DIR"/tour/*.png

# The printed page of the print test is rendered with ghostscript.
command -v gs >/dev/null 2>&1 || bash scripts/bootstrap.sh
source scripts/wine-pair.sh
start_wine_pair "$root/build/wineprefix-pictures"

failed=0
ctest --test-dir "$build" -L gui --output-on-failure || failed=1
# The calibration plot of mpcal's demo, rendered from its SVG (native build).
command -v rsvg-convert >/dev/null 2>&1 || bash scripts/bootstrap.sh
native=${MPCAL_NATIVE_BUILD_DIR:-build/native}
[ -f "$native/CMakeCache.txt" ] || cmake --preset native -B "$native" >/dev/null
cmake --build "$native" -j "$jobs" --target mpcal
"$native/tools/mpcal/mpcal" demo --out "$native/demo-pictures" >/dev/null || failed=1
rsvg-convert -o "$MPCAL_PICTURES_DIR/mpcal-demo-plot.png" "$native/demo-pictures/calibration.svg" ||
  failed=1

echo "pictures in $MPCAL_PICTURES_DIR:"
ls -1R "$MPCAL_PICTURES_DIR"
exit $failed
