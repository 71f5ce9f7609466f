// What every way to the files shares.
#include "dict/DictFile.h"

bool ReadWholeFile(const TDictFiles& files, const std::string& path, std::uint64_t maxSize,
                   std::string& bytes) {
    bytes.clear();
    const std::unique_ptr<TDictFile> file = files.Open(path);
    if (!file || file->Size() > maxSize)
        return false;
    bytes.resize(static_cast<std::size_t>(file->Size()));
    return file->Read(0, bytes.data(), bytes.size());
}
