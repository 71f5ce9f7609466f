#!/usr/bin/env bash
# Starts the program many times in a row as fast as it can (default 50), each copy replacing the one
# before, and checks that exactly one window, one tray icon and one working hook are left and that
# no earlier copy is still running. Usage: stress-startup.sh [copies]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
"$root/scripts/wine-session.sh" start "$root/build/win"
trap '"$root/scripts/wine-session.sh" stop "$root/build/win"' EXIT
WL_STARTUP_COPIES=${1:-50} "$root/build/win/wine-exec.sh" "$root/build/win/tests/wine/AppTests.exe" \
    --gtest_filter='Wordlark.CopiesStartedBackToBackLeaveExactlyOneWorkingCopy'
