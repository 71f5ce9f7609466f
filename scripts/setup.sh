#!/usr/bin/env bash
# Installs what building and testing Wordlark need on Debian, where it is missing:
# the MinGW-w64 cross compiler, Wine, Xvfb, CMake, GoogleTest sources, clang (for the fuzzer)
# Python (icon art) and NSIS (the installer); zlib for both builds (the cross build links it
# statically); WordNet's exception lists (English word forms); real dictionaries and sdcv for the dictionary readers' tests; and for 32-bit test programs, Debian's 32-bit Wine
# and the i686 MinGW-w64 C compiler.
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

if [ ${#need[@]} -gt 0 ]; then
    echo "Installing: ${need[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
