#!/usr/bin/env bash
# Builds the program (WL.exe with Tarnwick2.dll, help pages, read-me and the English dictionary in
# the folder Dictionaries beside it, nothing else) and starts it under Wine (in the build's own
# prefix) on the current display, or on a virtual display when there is none. Ends when WL.exe ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$root/build/win" -j "$(nproc)" --target WL
"$root/scripts/wine-session.sh" start "$root/build/win"
trap '"$root/scripts/wine-session.sh" stop "$root/build/win"' EXIT
# shellcheck disable=SC1091
. "$root/build/win/wine.env"
echo "Starting WL.exe on display $DISPLAY (tray icon in the Wine desktop)"
wine "$root/build/win/src/WL.exe"
