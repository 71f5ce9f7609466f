#!/usr/bin/env bash
# Starts WL.exe in a Wine session of a build folder, opens its configuration window the way a
# double-click on the tray icon does, and writes one PNG of the Wine desktop per page for checking
# by eye: overview, hot keys, web links with a predefined link selected, with a custom link, and
# with a Greek and a Japanese one, the programs whose keys are left alone, and the dictionaries
# (Debian's WordNet, GCIDE, XMLittré and FreeDict French-English where installed, and one whose file
# is gone). At another DPI the names end in "-DPI".
# Usage: screenshot.sh [BUILD_DIR] [OUTPUT_DIR] [DPI]   (defaults: build/win, BUILD_DIR/screenshots, 96)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win}" && pwd)
out=${2:-$build/screenshots}
dpi=${3:-96}
suffix=""
[ "$dpi" = 96 ] || suffix="-$dpi"
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

# For the programs started from now on.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wine "$build/src/WL.exe" >/dev/null 2>&1 &
wl_pid=$!
cleanup() {
    wine "$build/tests/wine/PostToWordlark.exe" 0x404 >/dev/null 2>&1 || true
    wait "$wl_pid" 2>/dev/null || true
    # The prefix's tests expect the default DPI.
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1 || true
    if $started_session; then "$root/scripts/wine-session.sh" stop "$build"; fi
}
trap cleanup EXIT

# Three custom links, one of them in Greek and one in Japanese: the program appends the predefined
# ones after them, so that the Web Links page can show both kinds. A registry file in UTF-16, which
# carries any script whatever the code page.
reg_file=$(mktemp --suffix=.reg)
iconv -f UTF-8 -t UTF-16 >"$reg_file" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Orvane\Wordlark2\Links]
"LinkCount"=dword:00000003
"Link00Desc"="My Dictionary"
"Link00UrlBefore"="http://dictionary.example.com/?w="
"Link00UrlAfter"="&lang=en"
"Link00Locked"="0"
"Link01Desc"="Λεξικό"
"Link01UrlBefore"="https://el.wiktionary.org/wiki/Ειδικό:Αναζήτηση?search="
"Link01UrlAfter"=""
"Link01Locked"="0"
"Link01Encoding"="UTF-8"
"Link02Desc"="辞書"
"Link02UrlBefore"="https://ja.wiktionary.org/wiki/特別:検索?search="
"Link02UrlAfter"="&ns0=1"
"Link02Locked"="0"
"Link02Encoding"="UTF-8"

[HKEY_CURRENT_USER\Software\Orvane\Wordlark2\Programs]
"ProgramCount"=dword:00000004
"Program0"="firefox.exe"
"Program1"="WindowsTerminal.exe"
"Program2"="C:\\Games\\Λαβύρινθος\\Λαβύρινθος.exe"
"Program3"="soffice.bin.exe"

[HKEY_CURRENT_USER\Software\Orvane\Wordlark2\Dictionaries]
"DictionaryCount"=dword:00000005
"Dictionary0"="Z:\\usr\\share\\dictd\\wn.index"
"Dictionary1"="Z:\\usr\\share\\dictd\\gcide.index"
"Dictionary2"="Z:\\usr\\share\\stardict\\dic\\XMLittre.ifo"
"Dictionary3"="Z:\\usr\\share\\dictd\\freedict-fra-eng.index"
"Dictionary4"="C:\\Dictionaries\\Λεξικό\\moved-away.ifo"

REG
wine regedit /S "$(winepath -w "$reg_file")" >/dev/null 2>&1
rm -f "$reg_file"

shoot() { # page-name page [list line]
    wine "$build/tests/wine/WordlarkPage.exe" "${@:2}"
    sleep 1
    xwd -root -silent -display "$DISPLAY" | "$convert" xwd:- -crop 1024x768+0+0 +repage "$out/$1$suffix.png"
    echo "$out/$1$suffix.png"
}

# 0x403 is the tray icon's callback; lParam 0x203 is a left double-click.
wine "$build/tests/wine/PostToWordlark.exe" 0x403 0x203
sleep 2
shoot overview 0
shoot hotkeys 1
shoot weblinks-predefined 2 3
shoot weblinks-custom 2 0
shoot weblinks-greek 2 1
shoot weblinks-japanese 2 2
shoot programs 3
shoot dictionaries 4
