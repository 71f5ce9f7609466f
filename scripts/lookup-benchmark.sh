#!/usr/bin/env bash
# Builds and runs the lookup latency benchmark under Wine in the build's own prefix: the real
# WL.exe, a selection in another program, the hot key injected; then how quickly the program
# answers after another program changed the clipboard. Given a git revision, that revision's WL.exe
# is built in a temporary folder and measured too, in the same run.
# Usage: lookup-benchmark.sh [runs] [revision]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
base=""
cleanup() {
    "$root/scripts/wine-session.sh" stop "$root/build/win" || true
    [ -z "$base" ] || rm -rf "$base"
}
trap cleanup EXIT
args=("${1:-30}")
if [ -n "${2:-}" ]; then
    base=$(mktemp -d)
    git -C "$root" archive "$2" | tar -x -C "$base"
    cmake -S "$base" -B "$base/build" -DCMAKE_TOOLCHAIN_FILE="$base/cmake/mingw-w64-x86_64.cmake" \
        -DWL_RELEASE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$base/build" -j "$(nproc)" --target WL >/dev/null
    args+=("Z:$(echo "$base/build/src/WL.exe" | tr / '\\')")
fi
"$root/scripts/wine-session.sh" start "$root/build/win"
"$root/build/win/wine-exec.sh" "$root/build/win/tests/benchmark/LookupLatency.exe" "${args[@]}"
