#!/usr/bin/env bash
# Installs what is missing, builds both toolchains, and runs every test: the portable core
# natively (plain and with ASan/UBSan), the fuzzers for a short fixed time, and the Windows
# build under Wine in a prefix of its own, which is stopped again at the end.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
start=$(date +%s)

need_bootstrap=0
for tool in cmake ninja g++ clang++ clang-format x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-windres wine; do
  command -v "$tool" >/dev/null 2>&1 || need_bootstrap=1
done
[ -f /usr/include/eigen3/Eigen/Core ] || need_bootstrap=1
[ -f /usr/include/benchmark/benchmark.h ] || need_bootstrap=1
[ -f /usr/include/nlohmann/json.hpp ] || need_bootstrap=1
[ -f /opt/mpcal/mingw-gtest/lib/libgmock_main.a ] || need_bootstrap=1
# Window tests measure text: Wine's own fonts make the metrics the same on every machine.
[ -f /usr/share/wine/fonts/tahoma.ttf ] || need_bootstrap=1
# The printed page of the print test is checked and rendered with ghostscript.
command -v gs >/dev/null 2>&1 || need_bootstrap=1
[ $need_bootstrap -eq 0 ] || bash scripts/bootstrap.sh

echo "== format check"
git ls-files -co --exclude-standard -- 'src/*' 'tests/*' 'host/*' 'bench/*' 'fuzz/*' 'tools/*' \
  | grep -E '\.(cpp|h)$' | xargs -r clang-format --dry-run --Werror

echo "== layer check"
bash scripts/check-layers.sh

jobs=$(nproc)
failed=0
run_ctest() { ctest --test-dir "$1" --output-on-failure -j "$jobs" || failed=1; }

echo "== native"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
run_ctest build/native

echo "== native with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset native-sanitize >/dev/null
cmake --build --preset native-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest build/native-sanitize

echo "== fuzzers (short run)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs" --target fuzzers
MPCAL_FUZZ_SECONDS=${MPCAL_FUZZ_SECONDS:-15} bash scripts/fuzz.sh build/fuzz || failed=1

echo "== windows (MinGW-w64, under Wine)"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
source scripts/wine-pair.sh
start_wine_pair "$root/build/wineprefix-test"
run_ctest build/windows

echo "== shippable module (windows-release)"
# Only the DLL is built. Its export table must name DllRegisterClassObjects alone, and the
# reference host of the test build must load it, register it and read calibrated samples that
# match those of the test build's module.
release_dll=$(bash scripts/package.sh | tail -n 1)
exports=$(x86_64-w64-mingw32-objdump -p "$release_dll" \
  | awk '/\[Ordinal\/Name Pointer\] Table/ { on = 1; next } on && NF == 0 { on = 0 } on { print $NF }')
if [ "$exports" != "DllRegisterClassObjects" ]; then
  echo "release DLL exports: ${exports:-nothing}" >&2
  failed=1
fi
check=build/windows-release/hostcheck
rm -rf "$check" && mkdir -p "$check"
cp build/windows/hostbin/velahost.exe build/windows/hostbin/Vela.dll "$release_dll" "$check/"
if (cd "$check" && bash "$root/scripts/wine-run.sh" velahost.exe demo doc.vdoc \
      && bash "$root/scripts/wine-run.sh" velahost.exe dump doc.vdoc release.txt) \
   && (cd build/windows/hostbin \
      && bash "$root/scripts/wine-run.sh" velahost.exe dump "../../../$check/doc.vdoc" \
         "../../../$check/test.txt") \
   && cmp -s "$check/release.txt" "$check/test.txt" && [ -s "$check/release.txt" ]; then
  echo "release DLL: $(stat -c %s "$release_dll") bytes, loaded and calibrated by the host"
else
  echo "release DLL: the reference host could not use it" >&2
  failed=1
fi
stop_wine_pair

echo "== done in $(( $(date +%s) - start )) s"
exit $failed
