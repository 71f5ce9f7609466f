// Small StarDict, dictd and dictzip files written by the tests and fuzzers themselves, and files
// kept in memory that a test may delete or replace while a dictionary is open. Portable.
#pragma once

#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "dict/DictFile.h"
#include "dict/Dictionary.h"
#include "dict/MarkupText.h"

namespace DictWriter {

// A text's link marks written as dictd writes links: "{shown}", or "{shown->target}".
inline std::string Braced(std::string text) {
    for (const auto& [mark, brace] : {std::pair{LinkOpen, "{"}, {LinkTarget, "->"}, {LinkClose, "}"}})
        for (std::size_t at; (at = text.find(mark)) != std::string::npos;)
            text.replace(at, mark.size(), brace);
    return text;
}

// A lookup's entries as "headword: text" joined by " | " (links braced), or "unreadable".
inline std::string Look(const TDictionary& dictionary, const std::string& word) {
    std::vector<TDictEntry> entries;
    std::string shown = dictionary.Lookup(word, entries) ? "" : "unreadable";
    for (const TDictEntry& entry : entries)
        shown += (shown.empty() ? "" : " | ") + entry.Headword + ": " + Braced(entry.Text);
    return shown;
}

// Files by path in memory; each open takes the file as it is then.
class TMemoryFiles : public TDictFiles {
public:
    explicit TMemoryFiles(std::map<std::string, std::string> files = {}) : Files(std::move(files)) {}
    std::map<std::string, std::string> Files;
    std::unique_ptr<TDictFile> Open(const std::string& path) const override {
        struct TFile : TDictFile {
            std::string Bytes;
            std::uint64_t Size() const override { return Bytes.size(); }
            bool Read(std::uint64_t offset, char* buffer, std::size_t length) override {
                return offset <= Bytes.size() && length <= Bytes.size() - offset &&
                       (std::copy_n(Bytes.data() + offset, length, buffer), true);
            }
        };
        auto file = Files.count(path) ? std::make_unique<TFile>() : nullptr;
        return file ? (file->Bytes = Files.at(path), std::move(file)) : nullptr;
    }
};

inline std::string BigEndian(std::uint64_t value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i)
        out += static_cast<char>(value >> (8 * i) & 0xFF);
    return out;
}

inline std::string Little(std::uint64_t value, int bytes) {
    std::string out = BigEndian(value, bytes);
    return std::string(out.rbegin(), out.rend());
}

// A dictzip file of `data` in chunks of `chunkLength` as dictzip writes it (one raw deflate
// stream, fully flushed after each chunk, an empty final block); without a chunk length, a plain
// gzip file.
inline std::string Dictzip(const std::string& data, std::uint32_t chunkLength = 0) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    std::string body, sizes;
    std::vector<unsigned char> out(2 * data.size() + 1024);
    const std::size_t step = chunkLength ? chunkLength : data.size() + 1;
    for (std::size_t at = 0;; at += step) {
        const bool finish = at >= data.size() && !sizes.empty(); // then the empty final block
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + std::min(at, data.size())));
        stream.avail_in = finish ? 0 : static_cast<uInt>(std::min(step, data.size() - at));
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        deflate(&stream, finish ? Z_FINISH : Z_FULL_FLUSH);
        body.append(reinterpret_cast<char*>(out.data()), out.size() - stream.avail_out);
        if (finish)
            break;
        sizes += Little(out.size() - stream.avail_out, 2);
    }
    deflateEnd(&stream);
    const std::string extra = "RA" + Little(6 + sizes.size(), 2) + Little(1, 2) + Little(chunkLength, 2) +
                              Little(sizes.size() / 2, 2) + sizes;
    std::string file = chunkLength ? "\x1F\x8B\x08\x0C" + std::string(4, '\0') + "\x02\x03" +
                                         Little(extra.size(), 2) + extra + "test.dict" + std::string(1, '\0')
                                   : "\x1F\x8B\x08" + std::string(6, '\0') + "\x03";
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
    return file + body + Little(crc, 4) + Little(data.size(), 4);
}

struct TStarDictEntry {
    std::string Headword, Data; // the data as the .dict holds it, field types and all
};

struct TStarDictOptions {
    std::string Version = "2.4.2", LineEnd = "\n", SameTypes;
    bool ByteOrderMark = false, OffsetBits64 = false, GzipIndex = false;
    std::uint32_t ChunkLength = 0; // a .dict.dz in chunks of this length, else a plain .dict
};

// A StarDict dictionary's files at `base` + ".ifo", ".idx" or ".idx.gz", ".syn" when there are
// synonyms (synonym, headword of its entry) and ".dict" or ".dict.dz"; entries and synonyms in the
// order given (StarDict's: A-Z folded, ties in byte order).
inline std::map<std::string, std::string>
StarDictFiles(const std::string& base, const std::vector<TStarDictEntry>& entries,
              const std::vector<std::pair<std::string, std::string>>& synonyms = {},
              const TStarDictOptions& options = {}) {
    std::string dict, idx, syn;
    for (const TStarDictEntry& entry : entries) {
        idx += entry.Headword + '\0' + BigEndian(dict.size(), options.OffsetBits64 ? 8 : 4) +
               BigEndian(entry.Data.size(), 4);
        dict += entry.Data;
    }
    for (const auto& synonym : synonyms) {
        const auto entry = std::find_if(entries.begin(), entries.end(),
                                        [&](auto& e) { return e.Headword == synonym.second; });
        syn += synonym.first + '\0' + BigEndian(entry - entries.begin(), 4);
    }
    const std::string& end = options.LineEnd;
    std::string ifo = (options.ByteOrderMark ? "\xEF\xBB\xBF" : "") +
                      std::string("StarDict's dict ifo file") + end + "version=" + options.Version + end +
                      "bookname=Test Book" + end + "wordcount=" + std::to_string(entries.size()) + end +
                      "idxfilesize=" + std::to_string(idx.size()) + end;
    ifo += synonyms.empty() ? "" : "synwordcount=" + std::to_string(synonyms.size()) + end;
    ifo += options.SameTypes.empty() ? "" : "sametypesequence=" + options.SameTypes + end;
    ifo += options.OffsetBits64 ? "idxoffsetbits=64" + end : "";
    std::map<std::string, std::string> files{{base + ".ifo", ifo}};
    if (!synonyms.empty())
        files[base + ".syn"] = syn;
    files[base + (options.GzipIndex ? ".idx.gz" : ".idx")] = options.GzipIndex ? Dictzip(idx) : idx;
    files[base + (options.ChunkLength ? ".dict.dz" : ".dict")] =
        options.ChunkLength ? Dictzip(dict, options.ChunkLength) : dict;
    return files;
}

// A dictd base-64 number.
constexpr const char* Base64Digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
inline std::string Base64(std::uint64_t value) {
    return (value >= 64 ? Base64(value / 64) : "") + Base64Digits[value % 64];
}

struct TDictdEntry {
    std::string Key, Original, Text; // the index's (maybe normalised) headword, a 4th column or none
};

// A dictd dictionary's files at `base` + ".index" and ".dict" or (in chunks) ".dict.dz", the lines
// in the order given.
inline std::map<std::string, std::string>
DictdFiles(const std::string& base, const std::vector<TDictdEntry>& entries, std::uint32_t chunkLength = 0) {
    std::string index, dict;
    for (const TDictdEntry& entry : entries) {
        index += entry.Key + "\t" + Base64(dict.size()) + "\t" + Base64(entry.Text.size()) +
                 (entry.Original.empty() ? "" : "\t" + entry.Original) + "\n";
        dict += entry.Text;
    }
    return {{base + ".index", index},
            {base + (chunkLength ? ".dict.dz" : ".dict"), chunkLength ? Dictzip(dict, chunkLength) : dict}};
}

// Writes each file (path, bytes) to disk, for the tests that drive the program; raises when one
// cannot be written.
inline void WriteFiles(const std::map<std::string, std::string>& files) {
    for (const auto& [path, bytes] : files)
        if (!(std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes))
            throw std::runtime_error("cannot write " + path);
}

} // namespace DictWriter
