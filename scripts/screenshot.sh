#!/usr/bin/env bash
# Starts WL.exe in a Wine session of a build folder, opens its configuration window the way a
# double-click on the tray icon does, and writes a PNG of the Wine desktop for checking by eye.
# Usage: screenshot.sh [BUILD_DIR] [OUTPUT.png]   (defaults: build/win, BUILD_DIR/screenshot.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win}" && pwd)
out=${2:-$build/screenshot.png}
convert=/usr/bin/convert # ImageMagick's; the package imagemagick provides it
[ -x "$convert" ] && command -v xwd >/dev/null || {
    echo "needs xwd and ImageMagick: apt-get install -y imagemagick x11-apps" >&2
    exit 1
}

started_session=false
if [ ! -f "$build/wine.env" ]; then
    "$root/scripts/wine-session.sh" start "$build"
    started_session=true
fi
# shellcheck disable=SC1091
. "$build/wine.env"

wine "$build/src/WL.exe" >/dev/null 2>&1 &
wl_pid=$!
cleanup() {
    wine "$build/tests/wine/PostToWordlark.exe" 0x404 >/dev/null 2>&1 || true
    wait "$wl_pid" 2>/dev/null || true
    if $started_session; then "$root/scripts/wine-session.sh" stop "$build"; fi
}
trap cleanup EXIT

# 0x403 is the tray icon's callback; lParam 0x203 is a left double-click.
wine "$build/tests/wine/PostToWordlark.exe" 0x403 0x203
sleep 2
xwd -root -silent -display "$DISPLAY" | "$convert" xwd:- -crop 1024x768+0+0 +repage "$out"
echo "$out"
