// Small StarDict, dictd and dictzip files written by the tests and fuzzers themselves, and files
// kept in memory that a test may delete or replace while a dictionary is open. Portable.
#pragma once

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dict/DictFile.h"

namespace DictWriter {

// Files by path in memory. The dictionary reads the map as it is at each read.
class TMemoryFiles : public TDictFiles {
public:
    std::map<std::string, std::string> Files;
    std::unique_ptr<TDictFile> Open(const std::string& path) const override {
        const auto found = Files.find(path);
        if (found == Files.end())
            return nullptr;
        return std::make_unique<TMemoryFile>(found->second);
    }

private:
    class TMemoryFile : public TDictFile {
    public:
        explicit TMemoryFile(std::string bytes) : Bytes(std::move(bytes)) {}
        std::uint64_t Size() const override { return Bytes.size(); }
        bool Read(std::uint64_t offset, char* buffer, std::size_t length) override {
            if (offset > Bytes.size() || length > Bytes.size() - offset)
                return false;
            std::copy_n(Bytes.data() + offset, length, buffer);
            return true;
        }

    private:
        std::string Bytes;
    };
};

inline std::string BigEndian(std::uint64_t value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i)
        out += static_cast<char>(value >> (8 * i) & 0xFF);
    return out;
}

inline std::string Little16(std::uint32_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8 & 0xFF)};
}

inline std::string Little32(std::uint32_t value) {
    return Little16(value & 0xFFFF) + Little16(value >> 16);
}

// A dictzip file of `data` in chunks of `chunkLength` bytes, as dictzip writes it: one raw
// deflate stream, fully flushed after each chunk, an empty final block, CRC and length.
inline std::string Dictzip(const std::string& data, std::uint32_t chunkLength = 58315) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    std::string body;
    std::vector<std::uint32_t> sizes;
    std::vector<unsigned char> out(2 * chunkLength + 1024);
    for (std::size_t at = 0; at < data.size() || (data.empty() && sizes.empty()); at += chunkLength) {
        const std::size_t length = std::min<std::size_t>(chunkLength, data.size() - at);
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + at));
        stream.avail_in = static_cast<uInt>(length);
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        deflate(&stream, Z_FULL_FLUSH);
        const std::size_t produced = out.size() - stream.avail_out;
        sizes.push_back(static_cast<std::uint32_t>(produced));
        body.append(reinterpret_cast<char*>(out.data()), produced);
        if (data.empty())
            break;
    }
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    body.append(reinterpret_cast<char*>(out.data()), out.size() - stream.avail_out);
    deflateEnd(&stream);

    std::string extra = "RA" + Little16(6 + 2 * static_cast<std::uint32_t>(sizes.size())) + Little16(1) +
                        Little16(chunkLength) + Little16(static_cast<std::uint32_t>(sizes.size()));
    for (const std::uint32_t size : sizes)
        extra += Little16(size);
    std::string file = "\x1F\x8B\x08\x0C";     // gzip, deflate, FEXTRA and FNAME
    file += std::string(4, '\0') + "\x02\x03"; // time, best compression, Unix
    file += Little16(static_cast<std::uint32_t>(extra.size())) + extra + "test.dict" + std::string(1, '\0');
    file += body;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
    return file + Little32(static_cast<std::uint32_t>(crc)) +
           Little32(static_cast<std::uint32_t>(data.size()));
}

// A plain gzip file.
inline std::string Gzip(const std::string& data) {
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + 15, 8, Z_DEFAULT_STRATEGY);
    std::vector<unsigned char> out(deflateBound(&stream, static_cast<uLong>(data.size())) + 64);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    const std::size_t produced = out.size() - stream.avail_out;
    deflateEnd(&stream);
    return std::string(reinterpret_cast<char*>(out.data()), produced);
}

// A StarDict entry: its headword and its data as the .dict holds it (field types and all, or as
// sametypesequence has it).
struct TStarDictEntry {
    std::string Headword, Data;
};

struct TStarDictOptions {
    std::string Version = "2.4.2";
    std::string LineEnd = "\n";
    bool ByteOrderMark = false;
    std::string SameTypes;         // sametypesequence, or none
    bool OffsetBits64 = false;     // idxoffsetbits=64 (3.0.0)
    bool GzipIndex = false;        // .idx.gz
    std::uint32_t ChunkLength = 0; // .dict.dz in chunks of this length, or a plain .dict
    std::string ExtraIfoLines;     // more "key=value" lines, each with its line end
};

// The files of a StarDict dictionary at `base` + ".ifo", ".idx" or ".idx.gz", ".syn" when there
// are synonyms (synonym, headword of its entry), ".dict" or ".dict.dz". Entries are sorted as
// StarDict sorts them; those of one headword keep their order.
inline std::map<std::string, std::string>
StarDictFiles(const std::string& base, const std::string& name, std::vector<TStarDictEntry> entries,
              const std::vector<std::pair<std::string, std::string>>& synonyms = {},
              const TStarDictOptions& options = {}) {
    const auto lower = [](std::string text) {
        for (char& c : text)
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
        return text;
    };
    const auto before = [&](const std::string& a, const std::string& b) {
        const std::string x = lower(a), y = lower(b);
        return x != y ? x < y : a < b;
    };
    std::stable_sort(entries.begin(), entries.end(), [&](const TStarDictEntry& a, const TStarDictEntry& b) {
        return before(a.Headword, b.Headword);
    });
    std::string dict, idx;
    for (const TStarDictEntry& entry : entries) {
        idx += entry.Headword + std::string(1, '\0') + BigEndian(dict.size(), options.OffsetBits64 ? 8 : 4) +
               BigEndian(entry.Data.size(), 4);
        dict += entry.Data;
    }
    std::map<std::string, std::string> files;
    if (!synonyms.empty()) {
        std::vector<std::pair<std::string, std::string>> sorted = synonyms;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [&](const auto& a, const auto& b) { return before(a.first, b.first); });
        std::string syn;
        for (const auto& [synonym, headword] : sorted) {
            std::size_t position = 0;
            while (position < entries.size() && entries[position].Headword != headword)
                ++position;
            syn += synonym + std::string(1, '\0') + BigEndian(position, 4);
        }
        files[base + ".syn"] = syn;
    }
    const std::string& end = options.LineEnd;
    std::string ifo =
        (options.ByteOrderMark ? "\xEF\xBB\xBF" : "") + std::string("StarDict's dict ifo file") + end;
    ifo += "version=" + options.Version + end + "bookname=" + name + end;
    ifo += "wordcount=" + std::to_string(entries.size()) + end;
    ifo += "idxfilesize=" + std::to_string(idx.size()) + end;
    if (!synonyms.empty())
        ifo += "synwordcount=" + std::to_string(synonyms.size()) + end;
    if (!options.SameTypes.empty())
        ifo += "sametypesequence=" + options.SameTypes + end;
    if (options.OffsetBits64)
        ifo += "idxoffsetbits=64" + end;
    files[base + ".ifo"] = ifo + options.ExtraIfoLines;
    files[base + (options.GzipIndex ? ".idx.gz" : ".idx")] = options.GzipIndex ? Gzip(idx) : idx;
    if (options.ChunkLength)
        files[base + ".dict.dz"] = Dictzip(dict, options.ChunkLength);
    else
        files[base + ".dict"] = dict;
    return files;
}

// A dictd base-64 number.
inline std::string Base64(std::uint64_t value) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    do {
        text.insert(text.begin(), digits[value % 64]);
        value /= 64;
    } while (value);
    return text;
}

// A dictd entry: the index's headword (maybe normalised), the original spelling for a 4th column
// or empty, and its definition.
struct TDictdEntry {
    std::string Key, Original, Text;
};

// The files of a dictd dictionary at `base` + ".index" and ".dict" or (chunkLength > 0)
// ".dict.dz"; the lines in the order given.
inline std::map<std::string, std::string>
DictdFiles(const std::string& base, const std::vector<TDictdEntry>& entries, std::uint32_t chunkLength = 0) {
    std::string index, dict;
    for (const TDictdEntry& entry : entries) {
        index += entry.Key + "\t" + Base64(dict.size()) + "\t" + Base64(entry.Text.size()) +
                 (entry.Original.empty() ? "" : "\t" + entry.Original) + "\n";
        dict += entry.Text;
    }
    std::map<std::string, std::string> files{{base + ".index", index}};
    if (chunkLength)
        files[base + ".dict.dz"] = Dictzip(dict, chunkLength);
    else
        files[base + ".dict"] = dict;
    return files;
}

} // namespace DictWriter
