#!/usr/bin/env bash
# Installs what building and testing Wordlark need on Debian, where it is missing:
# the MinGW-w64 cross compiler, Wine, Xvfb, CMake, GoogleTest sources, clang (for the fuzzer)
# Python (icon art) and NSIS (the installer); zlib for both builds (the cross build links it
# statically); WordNet's exception lists (English word forms); real dictionaries and sdcv for the dictionary readers' tests; and for 32-bit test programs, Debian's 32-bit Wine
# and the i686 MinGW-w64 C compiler. Hunspell: the host build links Debian's libhunspell-dev, the cross
# build compiles the library from Debian's source package, fetched into build/hunspell (see the end).
set -euo pipefail

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

need=()
command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-x86-64-posix mingw-w64-tools)
command -v wine >/dev/null || need+=(wine wine64)
command -v i686-w64-mingw32-gcc-posix >/dev/null || need+=(gcc-mingw-w64-i686-posix)
# 32-bit programs under Wine (WoW64) need the i386 Wine beside the 64-bit one.
if ! dpkg -s wine32:i386 >/dev/null 2>&1; then
    dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
    need+=(wine32:i386)
fi
command -v Xvfb >/dev/null || need+=(xvfb)
command -v xwd >/dev/null || need+=(x11-apps)
command -v xdpyinfo >/dev/null || need+=(x11-utils)
command -v cmake >/dev/null || need+=(cmake)
command -v g++ >/dev/null || need+=(g++)
command -v clang++ >/dev/null || need+=(clang)
command -v python3 >/dev/null || need+=(python3)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
command -v makensis >/dev/null || need+=(nsis)
[ -f /usr/x86_64-w64-mingw32/lib/libz.a ] || need+=(libz-mingw-w64-dev)
[ -f /usr/include/zlib.h ] || need+=(zlib1g-dev)
[ -f /usr/share/dictd/wn.index ] || need+=(dict-wn)
[ -f /usr/share/dictd/gcide.index ] || need+=(dict-gcide)
[ -f /usr/share/dictd/freedict-fra-eng.index ] || need+=(dict-freedict-fra-eng)
[ -f /usr/share/dictd/freedict-deu-eng.index ] || need+=(dict-freedict-deu-eng)
[ -f /usr/share/wordnet/verb.exc ] || need+=(wordnet-base)
[ -f /usr/share/stardict/dic/XMLittre.ifo ] || need+=(stardict-xmlittre)
command -v sdcv >/dev/null || need+=(sdcv)
[ -f /usr/include/hunspell/hunspell.hxx ] || need+=(libhunspell-dev)
[ -f /usr/share/hunspell/de_DE.dic ] || need+=(hunspell-de-de)
command -v dpkg-source >/dev/null || need+=(dpkg-dev)
command -v pkg-config >/dev/null || need+=(pkg-config)

if [ ${#need[@]} -gt 0 ]; then
    echo "Installing: ${need[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# Hunspell's sources for the cross build: Debian's source package, unpacked into build/hunspell/source.
# apt needs a deb-src entry for it; rather than naming a mirror here or changing the machine's own
# configuration, a private configuration under build/hunspell/apt repeats the machine's own sources
# (one-line and deb822 lists alike) as deb-src.
root=$(cd "$(dirname "$0")/.." && pwd)
hunspell=$root/build/hunspell
if [ ! -f "$hunspell/source/src/hunspell/hunspell.cxx" ]; then
    apt=$hunspell/apt
    rm -rf "$hunspell"
    mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/archives/partial" "$hunspell/download"
    : >"$apt/sources.list"
    for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$list" ] || continue
        sed -n -E 's/^[[:space:]]*deb([[:space:]]+\[[^]]*\])?[[:space:]]+/deb-src\1 /p' "$list" >>"$apt/sources.list"
    done
    for list in /etc/apt/sources.list.d/*.sources; do
        [ -f "$list" ] || continue
        awk 'BEGIN { RS = ""; ORS = "\n\n" }
             /(^|\n)Types:[^\n]*deb([ \t\n]|$)/ {
                 gsub(/(^|\n)#[^\n]*/, ""); sub(/Types:[^\n]*/, "Types: deb-src"); print }' \
            "$list" >"$apt/sources.list.d/$(basename "$list")"
    done
    options=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/sources.list.d"
             -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache::Archives=$apt/archives" -o Debug::NoLocking=1)
    echo "Fetching Hunspell's Debian source package"
    apt-get "${options[@]}" update -qq
    (cd "$hunspell/download" && apt-get "${options[@]}" source --download-only -qq hunspell)
    dpkg-source -x "$hunspell"/download/hunspell_*.dsc "$hunspell/source" >/dev/null
fi
