#!/usr/bin/env bash
# Builds and runs the hook benchmark under Wine in the build's own prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
"$root/scripts/wine-session.sh" start "$root/build/win"
trap '"$root/scripts/wine-session.sh" stop "$root/build/win"' EXIT
"$root/build/win/wine-exec.sh" "$root/build/win/tests/benchmark/HookBenchmark.exe" "$@"
