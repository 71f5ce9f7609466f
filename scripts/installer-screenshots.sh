#!/usr/bin/env bash
# Walks through the installer of a build folder in its Wine session as a user would, writing a PNG
# of each page (welcome, read-me, users, folder, options, finish) and of the desktop afterwards for
# checking by eye; then ends the program that the finish page started and uninstalls again. Setup
# gets no "/D=", which would skip the users page: it installs into the default folder.
# Usage: installer-screenshots.sh [BUILD_DIR] [OUTPUT_DIR]   (defaults: build/win, BUILD_DIR/screenshots)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win}" && pwd)
out=${2:-$build/screenshots}
convert=/usr/bin/convert # ImageMagick's; the package imagemagick provides it
[ -x "$convert" ] && command -v xwd >/dev/null || {
    echo "needs xwd and ImageMagick: apt-get install -y imagemagick x11-apps" >&2
    exit 1
}
cmake --build "$build" --target Installer ClickButton PostToWordlark >/dev/null
mkdir -p "$out"

started_session=false
if [ ! -f "$build/wine.env" ]; then
    "$root/scripts/wine-session.sh" start "$build"
    started_session=true
fi
# shellcheck disable=SC1091
. "$build/wine.env"
folder='C:\Program Files\Wordlark'
helpers=$build/tests/wine

wine "$build/Wordlark-2.0-setup.exe" >/dev/null 2>&1 &
setup_pid=$!
cleanup() {
    wine "$helpers/PostToWordlark.exe" 0x404 >/dev/null 2>&1 || true
    wine "$folder\\Uninstall.exe" /S >/dev/null 2>&1 || true
    # The uninstaller goes on from a copy of itself after the started one has ended.
    for _ in $(seq 100); do [ -e "$WINEPREFIX/drive_c/Program Files/Wordlark" ] || break; sleep 0.1; done
    kill "$setup_pid" 2>/dev/null || true
    wait "$setup_pid" 2>/dev/null || true
    if $started_session; then "$root/scripts/wine-session.sh" stop "$build"; fi
}
trap cleanup EXIT

shot() {
    sleep "$1"
    xwd -root -silent -display "$DISPLAY" | "$convert" xwd:- -crop 1024x768+0+0 +repage "$out/$2.png"
    echo "$out/$2.png"
}
next() { wine "$helpers/ClickButton.exe" "Wordlark 2.0 Setup" 1 >/dev/null 2>&1; }

shot 3 1-welcome
next && shot 1 2-readme
next && shot 1 3-users
next && shot 1 4-folder
next && shot 1 5-options
next && shot 5 6-finish
next # Finish: "Run Wordlark" is checked
shot 3 7-after-finish
