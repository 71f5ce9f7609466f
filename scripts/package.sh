#!/usr/bin/env bash
# Builds the release deliverables (preset "release": optimised, stripped, versioned) and packs
# them into the installer and the portable zip beside it. Prints the size of each and, as its last
# line, the installer's path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target Installer Portable
build=build/release
installer=$build/Wordlark-2.0-setup.exe
for file in "$build/src/WL.exe" "$build/src/Tarnwick2.dll" "$build/Wordlark-2.0-portable.zip" "$installer"; do
    printf '%-40s %9d bytes\n' "$(basename "$file")" "$(stat -c %s "$file")"
done
echo "$installer"
