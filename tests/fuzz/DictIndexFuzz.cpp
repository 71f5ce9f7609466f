// Arbitrary bytes as a StarDict .ifo, .idx and .syn or a dictd .index, with arbitrary definitions:
// opening either refuses with a reason or gives a dictionary whose lookups never fail while the
// files stay, find only headwords of the word's letter case, and fail or find nothing once the
// definitions are gone.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "common/UnicodeText.h"
#include "dict/DictReaders.h"
#include "support/DictWriter.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// Words to look up: the fuzzer's own and the index's NUL-, TAB- or LF-separated pieces.
std::vector<std::string> Words(const std::string& index, const std::string& own) {
    std::vector<std::string> words{own, FoldCase(own)};
    for (std::size_t at = 0; at < index.size() && words.size() < 24;) {
        const std::size_t end = std::min(index.find_first_of(std::string("\0\t\n", 3), at), index.size());
        words.push_back(index.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider input(bytes, size);
    const std::uint8_t mode = input.ConsumeIntegral<std::uint8_t>();
    DictWriter::TMemoryFiles files;
    std::string path, index, dataPath;
    const std::string word = input.ConsumeRandomLengthString(300);
    if (mode & 1) {
        path = "/d/f.ifo";
        index = input.ConsumeRandomLengthString();
        const std::string syn = input.ConsumeRandomLengthString();
        std::string ifo;
        if ((mode & 6) == 2) {
            ifo = input.ConsumeRandomLengthString();
        } else {
            // A well-formed .ifo with fuzzed counts, so that the .idx and .syn themselves are read.
            ifo = std::string(mode & 4 ? "\xEF\xBB\xBF" : "") +
                  "StarDict's dict ifo file\nversion=" + (mode & 8 ? "3.0.0" : "2.4.2") +
                  "\nbookname=F\nwordcount=" + std::to_string(input.ConsumeIntegralInRange<int>(0, 40)) +
                  "\nidxfilesize=" + std::to_string(index.size()) +
                  "\nsynwordcount=" + std::to_string(input.ConsumeIntegralInRange<int>(0, 40)) +
                  (mode & 16 ? "\nidxoffsetbits=64" : "") +
                  "\nsametypesequence=" + input.ConsumeRandomLengthString(4) + "\n";
        }
        files.Files[path] = ifo;
        files.Files[mode & 32 ? "/d/f.idx.gz" : "/d/f.idx"] = mode & 32 ? DictWriter::Gzip(index) : index;
        if (mode & 64)
            files.Files["/d/f.syn"] = syn;
        index += syn;
    } else {
        path = "/d/f.index";
        index = input.ConsumeRandomLengthString();
        files.Files[path] = index;
    }
    const std::string data = input.ConsumeRemainingBytesAsString();
    dataPath = mode & 128 ? "/d/f.dict.dz" : "/d/f.dict";
    files.Files[dataPath] = mode & 128 ? DictWriter::Dictzip(data, 16) : data;
    if ((mode & 6) == 6) {
        // A well-formed dictionary of the fuzzer's words, its index then damaged at a few places.
        std::vector<DictWriter::TStarDictEntry> entries;
        std::vector<std::pair<std::string, std::string>> synonyms;
        FuzzedDataProvider words(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
        while (words.remaining_bytes() > 0 && entries.size() < 12) {
            entries.push_back({words.ConsumeRandomLengthString(12), words.ConsumeRandomLengthString(40)});
            if (words.ConsumeBool())
                synonyms.emplace_back(words.ConsumeRandomLengthString(12), entries.back().Headword);
        }
        if (entries.empty())
            return 0;
        std::vector<DictWriter::TDictdEntry> lines;
        for (const auto& entry : entries)
            lines.push_back({entry.Headword, index.substr(0, 3), entry.Data});
        DictWriter::TStarDictOptions options;
        options.ChunkLength = mode & 128 ? 16 : 0;
        files.Files = mode & 1 ? DictWriter::StarDictFiles("/d/f", "F", entries, synonyms, options)
                               : DictWriter::DictdFiles("/d/f", lines, options.ChunkLength);
        dataPath = mode & 128 ? "/d/f.dict.dz" : "/d/f.dict";
        std::string& damaged = files.Files[mode & 1 ? "/d/f.idx" : "/d/f.index"];
        for (std::size_t i = 0; i + 1 < word.size() && !damaged.empty(); i += 2)
            damaged[static_cast<unsigned char>(word[i]) % damaged.size()] ^= word[i + 1];
        const auto syn = files.Files.find("/d/f.syn");
        index = damaged + (syn == files.Files.end() ? std::string() : syn->second);
    }

    std::string error;
    const auto dictionary = OpenDictionary(files, path, error);
    if (!dictionary) {
        Check(!error.empty());
        return 0;
    }
    Check(error.empty() && !dictionary->Name().empty());
    const bool synonyms = (mode & 1) && files.Files.count("/d/f.syn");
    const std::vector<std::string> words = Words(index, word);
    for (const std::string& look : words) {
        std::vector<TDictEntry> entries;
        Check(dictionary->Lookup(look, entries));
        Check(look.size() <= 255 || entries.empty());
        // Only StarDict synonyms may give a headword of other letters.
        for (const TDictEntry& entry : entries)
            Check(synonyms || FoldCase(entry.Headword) == FoldCase(look));
    }
    files.Files.erase(dataPath);
    for (const std::string& look : words) {
        std::vector<TDictEntry> entries;
        dictionary->Lookup(look, entries);
        Check(entries.empty());
    }
    return 0;
}
