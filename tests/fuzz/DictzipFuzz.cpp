// Part of DictionaryFuzzer (DictionaryFuzz.cpp), which gives it its input.
// Arbitrary bytes as a .dict.dz, or a dictzip file of arbitrary data damaged at arbitrary places:
// opening refuses or gives a size, and a read fails or gives exactly the bytes asked for, those of
// the data when the file is intact.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "dict/DictData.h"
#include "support/DictWriter.h"

int FuzzDictzip(const std::uint8_t* bytes, std::size_t size) {
    const auto check = [](bool condition) { condition ? void() : std::abort(); };
    FuzzedDataProvider input(bytes, size);
    const bool raw = input.ConsumeBool();
    const std::uint32_t chunkLength = input.ConsumeIntegralInRange<std::uint32_t>(1, 300);
    const std::string damage = input.ConsumeRandomLengthString(8), reads = input.ConsumeBytesAsString(32);
    const std::string data = input.ConsumeRemainingBytesAsString();
    DictWriter::TMemoryFiles files;
    std::string& file = files.Files["/d/f.dict.dz"] = raw ? data : DictWriter::Dictzip(data, chunkLength);
    for (std::size_t i = 0; i + 2 < damage.size() && !file.empty(); i += 3)
        file[(static_cast<unsigned char>(damage[i]) << 8 | static_cast<unsigned char>(damage[i + 1])) %
             file.size()] ^= damage[i + 2];
    const bool intact = !raw && damage.size() < 3;
    std::string error, read;
    const auto zipped = TDictData::Open(files, "/d/f.dict.dz", error);
    check(zipped ? !intact || zipped->Size() == data.size() : !error.empty() && (!intact || data.empty()));
    for (std::size_t i = 0; zipped && i + 3 < reads.size(); i += 4) {
        const std::uint64_t offset =
            static_cast<unsigned char>(reads[i]) << 8 | static_cast<unsigned char>(reads[i + 1]);
        const std::uint64_t length =
            (static_cast<unsigned char>(reads[i + 2]) << 8 | static_cast<unsigned char>(reads[i + 3])) % 700;
        const bool inside = offset <= zipped->Size() && length <= zipped->Size() - offset;
        if (zipped->Read(offset, length, read))
            check(inside && read.size() == length && (!intact || read == data.substr(offset, length)));
        else
            check(!intact || !inside);
    }
    return 0;
}
