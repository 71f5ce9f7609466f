// The system's files through the C library, for the host build (paths are UTF-8 there).
#include <iconv.h>

#include <climits>
#include <cstdio>

#include "dict/DictFile.h"

namespace {

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

class TStdFile : public TDictFile {
public:
    TStdFile(std::FILE* file, std::uint64_t size) : File(file), FileSize(size) {}
    std::uint64_t Size() const override { return FileSize; }
    bool Read(std::uint64_t offset, char* buffer, std::size_t length) override {
        if (offset > FileSize || length > FileSize - offset)
            return false;
        if (length == 0)
            return true;
        if (offset > static_cast<std::uint64_t>(LONG_MAX) ||
            std::fseek(File.get(), static_cast<long>(offset), SEEK_SET) != 0)
            return false;
        return std::fread(buffer, 1, length, File.get()) == length;
    }

private:
    std::unique_ptr<std::FILE, TFileCloser> File;
    std::uint64_t FileSize;
};

class TStdFiles : public TDictFiles {
public:
    std::unique_ptr<TDictFile> Open(const std::string& path) const override {
        std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(path.c_str(), "rb"));
        if (!file || std::fseek(file.get(), 0, SEEK_END) != 0)
            return nullptr;
        const long size = std::ftell(file.get());
        if (size < 0)
            return nullptr;
        return std::make_unique<TStdFile>(file.release(), static_cast<std::uint64_t>(size));
    }
};

} // namespace

const TDictFiles& SystemDictFiles() {
    static const TStdFiles files;
    return files;
}

std::string CRuntimePath(const std::string& path) {
    return path;
}

bool EightBitCharset(unsigned /*codePage*/, const char* iconvName, std::u32string& upper) {
    const iconv_t converter = iconv_open("UTF-32LE", iconvName);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return false;
    upper.assign(128, 0);
    for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
        char in = static_cast<char>(byte), out[8] = {};
        char *from = &in, *to = out;
        std::size_t inLeft = 1, outLeft = sizeof out;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        if (iconv(converter, &from, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1) || outLeft != 4)
            continue;
        upper[byte - 0x80] = static_cast<unsigned char>(out[0]) | static_cast<unsigned char>(out[1]) << 8 |
                             static_cast<unsigned char>(out[2]) << 16;
    }
    iconv_close(converter);
    return true;
}
