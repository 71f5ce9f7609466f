// A dictionary's definitions: a plain .dict file, or a dictzip .dict.dz read at random, only the
// chunks that a read covers inflated. Every read opens the file anew and checks it is the one
// opened: a file that was replaced, cut or damaged meanwhile gives false, never text from outside it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dict/DictFile.h"

class TDictData {
public:
    // Opens the data file `path`, a dictzip when its name ends in ".dz"; checks its header and chunk
    // table. Null and a sentence in `error` when it is missing or damaged.
    static std::unique_ptr<TDictData> Open(const TDictFiles& files, const std::string& path,
                                           std::string& error);

    // Length of the (uncompressed) definitions.
    std::uint64_t Size() const { return DataSize; }
    // The bytes [offset, offset + length) of the definitions.
    bool Read(std::uint64_t offset, std::uint64_t length, std::string& bytes) const;

    // The last chunk inflated, which the next read of the same lookup may need again.
    struct TChunk {
        std::uint64_t Index = ~0ull;
        std::string Bytes;
    };

private:
    friend class TDictReading;
    TDictData(const TDictFiles& files, std::string path) : Files(files), Path(std::move(path)) {}
    // The file opened anew, when it is still the one opened first.
    std::unique_ptr<TDictFile> Reopen() const;
    bool ReadChunks(TDictFile& file, std::uint64_t offset, std::uint64_t length, std::string& bytes,
                    TChunk& kept) const;

    const TDictFiles& Files;
    std::string Path;
    std::uint64_t FileSize = 0;
    std::uint64_t DataSize = 0;
    // dictzip only: the header as read when opened, the chunks' uncompressed length and where each
    // chunk starts in the file (one more entry: where the last ends).
    bool Zipped = false;
    std::string Header;
    std::uint32_t ChunkLength = 0;
    std::vector<std::uint64_t> ChunkStarts;
};

// The reads of one lookup: the file opened and checked once, a chunk inflated once.
class TDictReading {
public:
    explicit TDictReading(const TDictData& data) : Data(data) {}
    bool Read(std::uint64_t offset, std::uint64_t length, std::string& bytes);

private:
    const TDictData& Data;
    std::unique_ptr<TDictFile> File;
    TDictData::TChunk Kept;
};

// A whole gzip file inflated; it must inflate to exactly `expectedSize` bytes.
bool InflateGzip(const std::string& gzip, std::uint64_t expectedSize, std::string& bytes, std::string& error);
