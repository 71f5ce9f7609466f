#!/usr/bin/env bash
# Builds everything and runs every test, native and under Wine, in one ctest run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
"$root/scripts/wine-session.sh" start "$root/build/win"
trap '"$root/scripts/wine-session.sh" stop "$root/build/win"' EXIT
ctest --test-dir "$root/build/win" --output-on-failure "$@"
