// Arbitrary bytes as a .dict.dz, or a real dictzip file of arbitrary data damaged at arbitrary
// places: opening refuses or gives a size, and every read either fails or gives exactly the
// bytes asked for, the undamaged file's own bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "dict/DictData.h"
#include "support/DictWriter.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider input(bytes, size);
    const bool raw = input.ConsumeBool();
    const std::uint32_t chunkLength = input.ConsumeIntegralInRange<std::uint32_t>(1, 300);
    const int damages = input.ConsumeIntegralInRange<int>(0, 3);
    std::vector<std::pair<std::size_t, std::uint8_t>> damage;
    for (int i = 0; i < damages; ++i)
        damage.emplace_back(input.ConsumeIntegral<std::uint16_t>(), input.ConsumeIntegral<std::uint8_t>());
    std::vector<std::pair<std::uint64_t, std::uint64_t>> reads;
    for (int i = 0; i < 8; ++i)
        reads.emplace_back(input.ConsumeIntegral<std::uint16_t>(),
                           input.ConsumeIntegral<std::uint16_t>() % 700);
    const std::string data = input.ConsumeRemainingBytesAsString();

    DictWriter::TMemoryFiles files;
    std::string& file = files.Files["/d/f.dict.dz"];
    file = raw ? data : DictWriter::Dictzip(data, chunkLength);
    for (const auto& [at, value] : damage)
        if (!file.empty())
            file[at % file.size()] ^= static_cast<char>(value);
    const bool intact = !raw && damage.empty();

    std::string error;
    const auto zipped = TDictData::Open(files, "/d/f.dict.dz", error);
    if (!zipped) {
        Check(!error.empty() && !(intact && !data.empty()));
        return 0;
    }
    if (intact)
        Check(zipped->Size() == data.size());
    for (const auto& [offset, length] : reads) {
        std::string read;
        const bool inside = offset <= zipped->Size() && length <= zipped->Size() - offset;
        if (zipped->Read(offset, length, read)) {
            Check(inside && read.size() == length);
            if (intact)
                Check(read == data.substr(offset, length));
        } else {
            Check(!intact || !inside);
        }
    }
    return 0;
}
