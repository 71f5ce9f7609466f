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

private:
    TDictData(const TDictFiles& files, std::string path) : Files(files), Path(std::move(path)) {}
    bool ReadChunks(TDictFile& file, std::uint64_t offset, std::uint64_t length, std::string& bytes) const;

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

// A whole gzip file inflated; it must inflate to exactly `expectedSize` bytes.
bool InflateGzip(const std::string& gzip, std::uint64_t expectedSize, std::string& bytes, std::string& error);
