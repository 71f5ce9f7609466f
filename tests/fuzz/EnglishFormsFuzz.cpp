// Arbitrary words against arbitrary exception lists: the candidates are bounded in number, and
// each is given once and is not empty.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>

#include "dict/EnglishForms.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider input(bytes, size);
    const std::string word = input.ConsumeRandomLengthString(100);
    const std::vector<std::string> candidates =
        TEnglishForms(input.ConsumeRemainingBytesAsString()).Candidates(word);
    if (candidates.size() > TEnglishForms::MaxCandidates)
        std::abort();
    for (const std::string& candidate : candidates)
        if (candidate.empty() || std::count(candidates.begin(), candidates.end(), candidate) != 1)
            std::abort();
    return 0;
}
