#!/usr/bin/env bash
# Installs every Debian package the build, the tests, the fuzzers and the benchmarks need.
# Idempotent: packages already present are left alone, and apt is only asked when one is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format
  mingw-w64 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 fonts-wine
  googletest libgtest-dev libbenchmark-dev libeigen3-dev
  nlohmann-json3-dev librsvg2-bin ghostscript
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "bootstrap: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi


# GoogleTest cross-built for MinGW-w64 from Debian's sources, once per machine.
mingw_gtest=${MPCAL_MINGW_GTEST:-/opt/mpcal/mingw-gtest}
if [ ! -f "$mingw_gtest/lib/libgmock_main.a" ]; then
  echo "bootstrap: building GoogleTest for MinGW-w64 into $mingw_gtest"
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cmake -S /usr/src/googletest -B "$work" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$mingw_gtest" \
    -DCMAKE_CROSSCOMPILING_EMULATOR= -Dgtest_force_shared_crt=OFF >/dev/null
  cmake --build "$work" >/dev/null
  cmake --install "$work" >/dev/null
fi
echo "bootstrap: done"
