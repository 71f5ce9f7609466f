#!/usr/bin/env bash
# Builds and runs the hook benchmark under Wine in the build's own prefix: what the hook costs per
# call against a do-nothing low-level hook, then the delay it adds to keys typed into 64- and 32-bit
# programs. Usage: benchmark.sh [rounds] [keys per round and case]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
"$root/scripts/wine-session.sh" start "$root/build/win"
trap '"$root/scripts/wine-session.sh" stop "$root/build/win"' EXIT
"$root/build/win/wine-exec.sh" "$root/build/win/tests/benchmark/KeyDelayBenchmark.exe" "$@"
