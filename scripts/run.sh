#!/usr/bin/env bash
# Builds Wordlark and starts WL.exe under Wine (in the build's own prefix) on the current display,
# or on a virtual display when there is none. Ends when WL.exe ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
"$root/scripts/wine-session.sh" start "$root/build/win"
trap '"$root/scripts/wine-session.sh" stop "$root/build/win"' EXIT
# shellcheck disable=SC1091
. "$root/build/win/wine.env"
echo "Starting WL.exe on display $DISPLAY (tray icon in the Wine desktop)"
wine "$root/build/win/src/WL.exe"
