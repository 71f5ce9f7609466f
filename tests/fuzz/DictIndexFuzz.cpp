// Part of DictionaryFuzzer (DictionaryFuzz.cpp), which gives it its input.
// Arbitrary bytes as a StarDict .ifo or a dictd .index, or a well-formed dictionary of arbitrary
// words whose .idx, .idx.gz or .index is then damaged at arbitrary places: opening refuses with a
// reason or gives a dictionary whose lookups do not fail while the files stay, find only the
// word's letters (or a synonym's entry), and find nothing once the definitions are gone.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "common/UnicodeText.h"
#include "dict/DictReaders.h"
#include "support/DictWriter.h"

int FuzzDictIndex(const std::uint8_t* bytes, std::size_t size) {
    const auto check = [](bool condition) { condition ? void() : std::abort(); };
    FuzzedDataProvider input(bytes, size);
    const std::uint8_t mode = input.ConsumeIntegral<std::uint8_t>();
    const bool starDict = mode & 1;
    const std::string word = input.ConsumeRandomLengthString(300),
                      damage = input.ConsumeRandomLengthString(16);
    std::string index = input.ConsumeRandomLengthString();
    DictWriter::TMemoryFiles files;
    if (mode & 2) {
        files.Files = {
            {starDict ? "/d/f.ifo" : "/d/f.index", index}, {"/d/f.dict", word}, {"/d/f.idx", word}};
    } else {
        std::vector<DictWriter::TStarDictEntry> entries;
        std::vector<DictWriter::TDictdEntry> lines;
        std::vector<std::pair<std::string, std::string>> synonyms;
        FuzzedDataProvider words(reinterpret_cast<const std::uint8_t*>(index.data()), index.size());
        while (words.remaining_bytes() > 0 && entries.size() < 12) {
            entries.push_back({words.ConsumeRandomLengthString(12), words.ConsumeRandomLengthString(40)});
            lines.push_back(
                {entries.back().Headword, words.ConsumeRandomLengthString(4), entries.back().Data});
            if (words.ConsumeBool())
                synonyms.emplace_back(words.ConsumeRandomLengthString(12), entries.back().Headword);
        }
        DictWriter::TStarDictOptions options;
        options.ChunkLength = mode & 4 ? 16 : 0;
        options.GzipIndex = mode & 8;
        files.Files = starDict ? DictWriter::StarDictFiles("/d/f", entries, synonyms, options)
                               : DictWriter::DictdFiles("/d/f", lines, options.ChunkLength);
        std::string& damaged = files.Files[!starDict           ? "/d/f.index"
                                           : options.GzipIndex ? "/d/f.idx.gz"
                                                               : "/d/f.idx"];
        for (std::size_t i = 0; i + 1 < damage.size() && !damaged.empty(); i += 2)
            damaged[static_cast<unsigned char>(damage[i]) % damaged.size()] ^= damage[i + 1];
        index = damaged + (files.Files.count("/d/f.syn") ? files.Files["/d/f.syn"] : "");
    }

    std::string error;
    const auto dictionary = OpenDictionary(files, starDict ? "/d/f.ifo" : "/d/f.index", error);
    check(!dictionary == !error.empty());
    if (!dictionary)
        return 0;
    // The fuzzer's word and the index's NUL-, TAB- or LF-separated pieces.
    std::vector<std::string> looks{word, FoldCase(word)};
    for (std::size_t at = 0, end = 0; at < index.size() && looks.size() < 24; at = end + 1) {
        end = std::min(index.find_first_of(std::string("\t\n\0", 3), at), index.size());
        looks.push_back(index.substr(at, end - at));
    }
    for (const bool gone : {false, true}) {
        if (gone)
            files.Files.erase(files.Files.count("/d/f.dict") ? "/d/f.dict" : "/d/f.dict.dz");
        for (const std::string& look : looks) {
            std::vector<TDictEntry> entries;
            const bool read = dictionary->Lookup(look, entries);
            check((gone || read) && (look.size() <= 255 || entries.empty()));
            for (const TDictEntry& entry : entries)
                check(!gone && (files.Files.count("/d/f.syn") || FoldCase(entry.Headword) == FoldCase(look)));
        }
    }
    return 0;
}
