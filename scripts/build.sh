#!/usr/bin/env bash
# Builds both trees: build/native (host compiler, sanitizers) and build/win (MinGW-w64 cross build).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"
jobs=$(nproc)
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug -DWL_WERROR=$werror >/dev/null
cmake --build build/native -j "$jobs"
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DWL_WERROR=$werror \
    -DWL_NATIVE_BUILD_DIR="$root/build/native" >/dev/null
cmake --build build/win -j "$jobs"
