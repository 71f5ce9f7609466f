#!/usr/bin/env bash
# Starts WL.exe in a Wine session of a build folder, opens its configuration window the way a
# double-click on the tray icon does, and writes one PNG of the Wine desktop per page for checking
# by eye: overview, hot keys, web links with a predefined link selected, and with a custom link.
# Usage: screenshot.sh [BUILD_DIR] [OUTPUT_DIR]   (defaults: build/win, BUILD_DIR/screenshots)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win}" && pwd)
out=${2:-$build/screenshots}
mkdir -p "$out"
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

# One custom link: the program appends the predefined ones after it, so that the Web Links page
# can show both kinds.
links='HKCU\Software\Orvane\Wordlark2\Links'
add() { wine reg add "$links" /v "$1" /t "$2" /d "$3" /f >/dev/null 2>&1; }
add LinkCount REG_DWORD 1
add Link00Desc REG_SZ "My Dictionary"
add Link00UrlBefore REG_SZ "http://dictionary.example.com/?w="
add Link00UrlAfter REG_SZ "&lang=en"
add Link00Locked REG_SZ 0

shoot() { # page-name page [list line]
    wine "$build/tests/wine/WordlarkPage.exe" "${@:2}"
    sleep 1
    xwd -root -silent -display "$DISPLAY" | "$convert" xwd:- -crop 1024x768+0+0 +repage "$out/$1.png"
    echo "$out/$1.png"
}

# 0x403 is the tray icon's callback; lParam 0x203 is a left double-click.
wine "$build/tests/wine/PostToWordlark.exe" 0x403 0x203
sleep 2
shoot overview 0
shoot hotkeys 1
shoot weblinks-predefined 2 1
shoot weblinks-custom 2 0
