#!/usr/bin/env bash
# The readers against every dictd dictionary that Debian packages (WordNet, GCIDE and the FreeDict
# dictionaries, about 200 MB to download; not part of CI): installs them, opens each with the
# program's readers (built here from the sources with the host compiler, optimised), looks up
# headwords spread over each index as the dictionary shows them, and prints
# "opened N of M, found F of T", with each refused file and the first words not found.
# Usage: dictionary-corpus.sh [headwords per dictionary]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
per=${1:-200}
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

$sudo apt-get update -qq
mapfile -t packages < <(apt-cache search --names-only '^dict-(freedict-|wn$|gcide$)' | cut -d' ' -f1 | sort)
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
indexes=()
for package in "${packages[@]}"; do
    while read -r file; do indexes+=("$file"); done < <(dpkg -L "$package" | grep '\.index$' || true)
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/corpus.cpp" <<'EOF'
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "dict/Dictionary.h"

int main(int argc, char** argv) {
    const std::size_t per = std::stoul(argv[1]);
    std::size_t opened = 0, looked = 0, found = 0, skipped = 0, told = 0;
    for (int n = 2; n < argc; ++n) {
        std::string error;
        const auto dictionary = TDictionary::Open(argv[n], error);
        if (!dictionary) {
            std::printf("refused %s: %s\n", argv[n], error.c_str());
            continue;
        }
        ++opened;
        skipped += dictionary->SkippedCount();
        std::vector<std::string> lines;
        std::ifstream file(argv[n]);
        for (std::string line; std::getline(file, line);)
            lines.push_back(line);
        for (std::size_t i = 0; i < lines.size(); i += std::max<std::size_t>(1, lines.size() / per)) {
            // The headword as the dictionary shows it: the 4th column where there is one.
            std::vector<std::string> columns(1);
            for (const char c : lines[i])
                if (c == '\t')
                    columns.emplace_back();
                else
                    columns.back().push_back(c);
            std::string word = columns.size() == 4 ? columns[3] : columns[0];
            word.erase(0, std::min(word.find_first_not_of(' '), word.size()));
            word.erase(word.find_last_not_of(' ') + 1);
            if (word.empty() || word.rfind("00-database", 0) == 0 || word.rfind("00database", 0) == 0)
                continue;
            ++looked;
            std::vector<TDictEntry> entries;
            if (dictionary->Lookup(word, entries) && !entries.empty())
                ++found;
            else if (told++ < 20)
                std::printf("not found in %s: \"%s\"\n", argv[n], word.c_str());
        }
    }
    std::printf("opened %zu of %d, found %zu of %zu (index lines without a headword skipped: %zu)\n", opened,
                argc - 2, found, looked, skipped);
    return opened == static_cast<std::size_t>(argc - 2) && found == looked ? 0 : 1;
}
EOF
c++ -O2 -std=c++17 -Isrc/common -Isrc "$work/corpus.cpp" src/dict/{Dictionary,DictFile,DictFileStd,DictData,HeadwordIndex,MarkupText,StarDict,Dictd}.cpp \
    src/common/UnicodeText.cpp -lz -o "$work/corpus"
echo "${#packages[@]} packages, ${#indexes[@]} dictionaries"
"$work/corpus" "$per" "${indexes[@]}"
