#!/usr/bin/env bash
# The main job end to end, natively: builds the command-line tool and runs its demo, which
# generates a pressure-transducer recording, calibrates it from five flat stretches and writes
# the calibrated recording and a report into build/demo.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

need_bootstrap=0
for tool in cmake ninja g++; do
  command -v "$tool" >/dev/null 2>&1 || need_bootstrap=1
done
[ -f /usr/include/eigen3/Eigen/Core ] || need_bootstrap=1
[ -d /usr/include/gtest ] || need_bootstrap=1
[ $need_bootstrap -eq 0 ] || bash scripts/bootstrap.sh

cmake --preset native >/dev/null
cmake --build --preset native --target mpcal >/dev/null
build/native/tools/mpcal/mpcal demo --out build/demo "$@"
