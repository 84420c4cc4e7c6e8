#!/usr/bin/env bash
# Builds the shippable module (preset windows-release: no test hooks, unused code dropped,
# stripped) and writes build/MultipointCalibration.zip with the DLL and an install note.
# Prints the path of the DLL on its last line. MPCAL_RELEASE_BUILD names another build folder.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 || bash scripts/bootstrap.sh

build=${MPCAL_RELEASE_BUILD:-build/windows-release}
cmake --preset windows-release -B "$build" >/dev/null
cmake --build "$build" --target MultipointCalibration -j "${MPCAL_JOBS:-$(nproc)}" >/dev/null
dll=$build/src/dll/MultipointCalibration.dll
[ -f "$dll" ] || { echo "package: $dll was not built" >&2; exit 1; }

stage=build/package/MultipointCalibration
rm -rf build/package
mkdir -p "$stage"
cp "$dll" "$stage/"
cat >"$stage/INSTALL.txt" <<'NOTE'
Multipoint Calibration
======================

A calibration extension for the host data-recording application on 64-bit Windows (x86-64).

Install
  1. Close the host application.
  2. Copy MultipointCalibration.dll into the folder from which the host loads its extension
     modules (the folder of the host's program unless the host names another one).
  3. Start the host. "Multipoint Calibration" is then offered among the channel calculations.

The DLL needs nothing else: the C++ run-time is linked in, and it keeps no settings of its own
(every calibration is stored in the host's document).

Remove
  Close the host and delete MultipointCalibration.dll. Documents that use the calculation keep
  their settings and show the channel again once the module is back.
NOTE

rm -f build/MultipointCalibration.zip
(cd build/package && cmake -E tar cf ../MultipointCalibration.zip --format=zip MultipointCalibration)
echo "package: build/MultipointCalibration.zip ($(stat -c %s "$dll") bytes DLL)" >&2
echo "$dll"
