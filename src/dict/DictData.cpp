// Plain and dictzip data files. A dictzip file is a gzip file whose extra field "RA" lists the
// compressed sizes of chunks that were each deflated raw and ended with a full flush, so that
// each inflates on its own with a fresh raw inflater.
#include "dict/DictData.h"

#include <algorithm>

#include <zlib.h>

namespace {

constexpr std::uint64_t MaxHeaderNames = 65536; // room for the stored file name and comment

std::uint32_t Little16(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

std::uint32_t Little32(const std::string& bytes, std::size_t at) {
    return Little16(bytes, at) | Little16(bytes, at + 2) << 16;
}

// Inflates one raw-deflated chunk into `to`, which gets exactly `expected` bytes; false unless the
// whole chunk was used and it gave exactly that many.
bool InflateChunk(const char* chunk, std::size_t size, std::size_t expected, std::string& to) {
    z_stream stream{};
    if (inflateInit2(&stream, -15) != Z_OK)
        return false;
    const std::size_t at = to.size();
    to.resize(at + expected + 1); // one byte more shows a chunk that inflates too long
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(chunk));
    stream.avail_in = static_cast<uInt>(size);
    stream.next_out = reinterpret_cast<Bytef*>(&to[at]);
    stream.avail_out = static_cast<uInt>(expected + 1);
    const int result = inflate(&stream, Z_SYNC_FLUSH);
    const std::size_t produced = expected + 1 - stream.avail_out;
    const bool whole = stream.avail_in == 0;
    inflateEnd(&stream);
    to.resize(at + produced);
    return (result == Z_OK || result == Z_STREAM_END) && whole && produced == expected;
}

std::string Damaged(const std::string& why) {
    return "The .dict.dz file is damaged: " + why + ".";
}

} // namespace

std::unique_ptr<TDictData> TDictData::Open(const TDictFiles& files, const std::string& path,
                                           std::string& error) {
    std::unique_ptr<TDictData> data(new TDictData(files, path));
    const std::unique_ptr<TDictFile> file = files.Open(path);
    if (!file) {
        error = "The file of definitions " + path + " is missing or cannot be read.";
        return nullptr;
    }
    data->FileSize = file->Size();
    data->Zipped = path.size() > 3 && path.compare(path.size() - 3, 3, ".dz") == 0;
    if (!data->Zipped) {
        data->DataSize = data->FileSize;
        return data;
    }

    // Fixed header, then the extra field, then the optional name, comment and header check.
    std::string& header = data->Header;
    header.resize(12);
    if (data->FileSize < 12 || !file->Read(0, header.data(), 12)) {
        error = Damaged("it is too short for a gzip header");
        return nullptr;
    }
    const unsigned char flags = static_cast<unsigned char>(header[3]);
    if (static_cast<unsigned char>(header[0]) != 0x1F || static_cast<unsigned char>(header[1]) != 0x8B ||
        header[2] != 8 || (flags & 0xE0) != 0) {
        error = Damaged("it is not a gzip file");
        return nullptr;
    }
    if (!(flags & 4)) {
        error = Damaged("it has no chunk table (a plain gzip file, not dictzip)");
        return nullptr;
    }
    const std::uint32_t extraLength = Little16(header, 10);
    const std::uint64_t readLength =
        std::min<std::uint64_t>(data->FileSize, 12 + extraLength + MaxHeaderNames);
    if (12 + extraLength > data->FileSize) {
        error = Damaged("its header runs past the end of the file");
        return nullptr;
    }
    header.resize(static_cast<std::size_t>(readLength));
    if (!file->Read(0, header.data(), header.size())) {
        error = Damaged("its header cannot be read");
        return nullptr;
    }
    std::uint32_t chunkCount = 0;
    std::size_t table = 0;
    bool found = false;
    for (std::size_t at = 12; at < 12 + extraLength;) {
        if (at + 4 > 12 + extraLength) {
            error = Damaged("its extra field is cut short");
            return nullptr;
        }
        const std::uint32_t length = Little16(header, at + 2);
        if (at + 4 + length > 12 + extraLength) {
            error = Damaged("a subfield runs past its extra field");
            return nullptr;
        }
        if (!found && header[at] == 'R' && header[at + 1] == 'A') {
            found = true;
            if (length < 6 || Little16(header, at + 4) != 1) {
                error = Damaged("its chunk table is of an unknown version");
                return nullptr;
            }
            data->ChunkLength = Little16(header, at + 6);
            chunkCount = Little16(header, at + 8);
            table = at + 10;
            if (data->ChunkLength == 0 || chunkCount == 0 || length < 6 + 2 * chunkCount) {
                error = Damaged("its chunk table is inconsistent");
                return nullptr;
            }
        }
        at += 4 + length;
    }
    if (!found) {
        error = Damaged("it has no chunk table (a plain gzip file, not dictzip)");
        return nullptr;
    }
    std::size_t end = 12 + extraLength;
    for (const unsigned char flag : {8, 16}) {
        if (!(flags & flag))
            continue;
        const std::size_t nul = header.find('\0', end);
        if (nul == std::string::npos) {
            error = Damaged("its stored name or comment has no end");
            return nullptr;
        }
        end = nul + 1;
    }
    if (flags & 2)
        end += 2;
    if (end > header.size()) {
        error = Damaged("its header runs past the end of the file");
        return nullptr;
    }
    std::uint64_t start = end;
    data->ChunkStarts.reserve(chunkCount + 1);
    for (std::uint32_t i = 0; i < chunkCount; ++i) {
        data->ChunkStarts.push_back(start);
        const std::uint32_t size = Little16(header, table + 2 * i);
        if (size >= 0xFFFF) {
            error = Damaged("a chunk is larger than a chunk can be");
            return nullptr;
        }
        start += size;
    }
    data->ChunkStarts.push_back(start);
    if (start + 8 > data->FileSize) {
        error = Damaged("it is shorter than its chunk table says (cut off?)");
        return nullptr;
    }
    header.resize(end);

    // The length: the one that ISIZE gives (modulo 2^32) within the last chunk, and the last
    // chunk must inflate to just that much.
    std::string trailer(4, '\0');
    if (!file->Read(data->FileSize - 4, trailer.data(), 4)) {
        error = Damaged("its end cannot be read");
        return nullptr;
    }
    const std::uint64_t before = static_cast<std::uint64_t>(chunkCount - 1) * data->ChunkLength;
    std::uint64_t size = (before & ~0xFFFFFFFFull) | Little32(trailer, 0);
    if (size <= before)
        size += 0x100000000ull;
    if (size > before + data->ChunkLength) {
        error = Damaged("its length does not fit its chunk table");
        return nullptr;
    }
    data->DataSize = size;
    std::string last;
    TChunk kept;
    if (!data->ReadChunks(*file, before, size - before, last, kept)) {
        error = Damaged("its last chunk does not inflate to its length");
        return nullptr;
    }
    return data;
}

bool TDictData::Read(std::uint64_t offset, std::uint64_t length, std::string& bytes) const {
    return TDictReading(*this).Read(offset, length, bytes);
}

std::unique_ptr<TDictFile> TDictData::Reopen() const {
    std::unique_ptr<TDictFile> file = Files.Open(Path);
    if (!file || file->Size() != FileSize)
        return nullptr;
    // The same header as when opened, so that the chunk table still describes this file.
    std::string header(Header.size(), '\0');
    if (Zipped && (!file->Read(0, header.data(), header.size()) || header != Header))
        return nullptr;
    return file;
}

bool TDictReading::Read(std::uint64_t offset, std::uint64_t length, std::string& bytes) {
    bytes.clear();
    if (offset > Data.DataSize || length > Data.DataSize - offset)
        return false;
    if (!File)
        File = Data.Reopen();
    if (!File)
        return false;
    if (!Data.Zipped) {
        bytes.resize(static_cast<std::size_t>(length));
        return File->Read(offset, bytes.data(), bytes.size());
    }
    return Data.ReadChunks(*File, offset, length, bytes, Kept);
}

bool TDictData::ReadChunks(TDictFile& file, std::uint64_t offset, std::uint64_t length, std::string& bytes,
                           TChunk& kept) const {
    bytes.clear();
    if (length == 0)
        return true;
    const std::uint64_t first = offset / ChunkLength, last = (offset + length - 1) / ChunkLength;
    const std::uint64_t chunkCount = ChunkStarts.size() - 1;
    if (last >= chunkCount)
        return false;
    std::string plain;
    std::uint64_t from = first;
    if (kept.Index == first) {
        plain = kept.Bytes;
        ++from;
    }
    if (from <= last) {
        std::string packed(static_cast<std::size_t>(ChunkStarts[last + 1] - ChunkStarts[from]), '\0');
        if (!file.Read(ChunkStarts[from], packed.data(), packed.size()))
            return false;
        plain.reserve(static_cast<std::size_t>((last - first + 1) * ChunkLength));
        std::size_t lastStart = 0;
        for (std::uint64_t chunk = from; chunk <= last; ++chunk) {
            const std::uint64_t expected =
                chunk + 1 < chunkCount ? ChunkLength : DataSize - chunk * ChunkLength;
            lastStart = plain.size();
            if (!InflateChunk(packed.data() + (ChunkStarts[chunk] - ChunkStarts[from]),
                              static_cast<std::size_t>(ChunkStarts[chunk + 1] - ChunkStarts[chunk]),
                              static_cast<std::size_t>(expected), plain))
                return false;
        }
        kept.Index = last;
        kept.Bytes.assign(plain, lastStart, std::string::npos);
    }
    bytes = plain.substr(static_cast<std::size_t>(offset - first * ChunkLength),
                         static_cast<std::size_t>(length));
    return true;
}

bool InflateGzip(const std::string& gzip, std::uint64_t expectedSize, std::string& bytes,
                 std::string& error) {
    bytes.clear();
    if (expectedSize >= 0xFFFFFFFFull || gzip.size() >= 0xFFFFFFFFull) {
        error = "The compressed index is too large.";
        return false;
    }
    z_stream stream{};
    if (inflateInit2(&stream, 16 + 15) != Z_OK) {
        error = "The compressed index cannot be inflated (out of memory?).";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(expectedSize) + 1);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(gzip.data()));
    stream.avail_in = static_cast<uInt>(gzip.size());
    stream.next_out = reinterpret_cast<Bytef*>(bytes.data());
    stream.avail_out = static_cast<uInt>(bytes.size());
    const int result = inflate(&stream, Z_FINISH);
    const std::uint64_t produced = bytes.size() - stream.avail_out;
    inflateEnd(&stream);
    bytes.resize(static_cast<std::size_t>(produced));
    if (result == Z_STREAM_END && produced == expectedSize)
        return true;
    error = result == Z_STREAM_END || produced > expectedSize
                ? "The index does not inflate to its idxfilesize."
                : "The .idx.gz file is damaged: it is not a whole gzip file.";
    bytes.clear();
    return false;
}
