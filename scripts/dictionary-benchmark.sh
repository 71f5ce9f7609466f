#!/usr/bin/env bash
# Builds and runs the dictionaries' benchmark under Wine in the build's own prefix: with Debian's
# WordNet and GCIDE listed (dict-wn, dict-gcide), the hot key to the answer window against the hot
# key to the browser, in the same run; the lookup inside the engine with those two and the
# French-English and German-English FreeDict (dict-freedict-fra-eng, -deu-eng) where they are
# installed, and what a word's other forms cost there; start-up and memory; Debian's German Hunspell
# word list (hunspell-de-de), listed too, its memory and its stems. With "wordnet", the English
# dictionary that comes with the program is listed alone, from the build folder.
# Usage: dictionary-benchmark.sh [runs] [wordnet]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
trap '"$root/scripts/wine-session.sh" stop "$root/build/win" || true' EXIT
dictionaries=()
for index in /usr/share/dictd/wn.index /usr/share/dictd/gcide.index /usr/share/dictd/freedict-fra-eng.index \
    /usr/share/dictd/freedict-deu-eng.index /usr/share/hunspell/de_DE.dic; do
    [ -f "$index" ] && dictionaries+=("Z:$(echo "$index" | tr / '\\')")
done
if [ "${2:-}" = wordnet ]; then
    dictionaries=("Z:$(echo "$root/build/win/src/Dictionaries/wn.index" | tr / '\\')")
elif [ ${#dictionaries[@]} -lt 2 ]; then
    echo "needs WordNet and GCIDE: apt-get install -y dict-wn dict-gcide" >&2
    exit 1
fi
"$root/scripts/wine-session.sh" start "$root/build/win"
"$root/build/win/wine-exec.sh" "$root/build/win/tests/benchmark/DictionaryLatency.exe" "${1:-10}" "${dictionaries[@]}"
