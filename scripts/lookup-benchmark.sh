#!/usr/bin/env bash
# Builds and runs the lookup latency benchmark under Wine in the build's own prefix: the real
# WL.exe, a selection in another program, the hot key injected. Usage: lookup-benchmark.sh [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
"$root/scripts/wine-session.sh" start "$root/build/win"
trap '"$root/scripts/wine-session.sh" stop "$root/build/win"' EXIT
"$root/build/win/wine-exec.sh" "$root/build/win/tests/benchmark/LookupLatency.exe" "$@"
