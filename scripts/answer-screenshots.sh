#!/usr/bin/env bash
# Writes PNGs of the Wine desktop with the answer window for checking by eye: a long entry of the
# Collaborative International Dictionary of English (Debian's dict-gcide), a WordNet entry with its
# links, the close words of a misspelt word (by "&Dictionaries" in the link menu), the WordNet entry
# in a window the user has enlarged, a Greek word of a small test dictionary, and WordNet's entry
# from the English dictionary beside the built program, each looked up in notepad. At another DPI
# the names end in "-DPI".
# Usage: answer-screenshots.sh [BUILD_DIR] [OUTPUT_DIR] [DPI]   (defaults: build/win, BUILD_DIR/screenshots, 96)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win}" && pwd)
out=${2:-$build/screenshots}
dpi=${3:-96}
suffix=""
[ "$dpi" = 96 ] || suffix="-$dpi"
mkdir -p "$out"
convert=/usr/bin/convert
[ -x "$convert" ] && command -v xwd >/dev/null || {
    echo "needs xwd and ImageMagick: apt-get install -y imagemagick x11-apps" >&2
    exit 1
}
gcide=/usr/share/dictd/gcide.index
[ -f "$gcide" ] || { echo "needs $gcide: apt-get install -y dict-gcide" >&2; exit 1; }
wordnet=/usr/share/dictd/wn.index
[ -f "$wordnet" ] || { echo "needs $wordnet: apt-get install -y dict-wn" >&2; exit 1; }

started_session=false
if [ ! -f "$build/wine.env" ]; then
    "$root/scripts/wine-session.sh" start "$build"
    started_session=true
fi
# shellcheck disable=SC1091
. "$build/wine.env"
cleanup() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1 || true
    if $started_session; then "$root/scripts/wine-session.sh" stop "$build"; fi
}
trap cleanup EXIT
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1

shoot() { # name word [dictionary file]
    local ready
    ready=$(mktemp -u --suffix=.ready)
    WINEPATH="$(winepath -w "$build/src")" wine "$build/tests/wine/AnswerScreenshot.exe" \
        "$(winepath -w "$ready")" "$2" "$(winepath -w "${3:-$gcide}")" &
    local helper=$!
    for _ in $(seq 300); do
        [ -f "$ready" ] && break
        kill -0 "$helper" 2>/dev/null || break
        sleep 0.1
    done
    if [ -f "$ready" ]; then
        xwd -root -silent -display "$DISPLAY" | "$convert" xwd:- -crop 1024x768+0+0 +repage "$out/$1$suffix.png"
        echo "$out/$1$suffix.png"
        rm -f "$ready"
    else
        echo "no answer window for '$2'" >&2
    fi
    wait "$helper" || true
}

shoot answer-gcide "lead"
shoot answer-wordnet "lead" "$wordnet"
ANSWER_MENU=1 shoot answer-close-words "dachsund" "$wordnet"
ANSWER_SIZE=760x560 shoot answer-enlarged "lead" "$wordnet"
shoot answer-greek "λέξη"
bundled=$build/src/Dictionaries/wn.index
if [ -f "$bundled" ]; then shoot answer-bundled-wordnet "ephemeral" "$bundled"; fi
