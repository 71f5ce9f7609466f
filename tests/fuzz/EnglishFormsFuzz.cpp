// Arbitrary words against WordNet's real exception lists, or against arbitrary exception text:
// the candidates are bounded in number, and each is given once and is not empty.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>

#include "dict/EnglishForms.h"
#include "support/WordNetLists.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    static const TEnglishForms wordNet(WordNetExceptionLists());
    FuzzedDataProvider input(bytes, size);
    const bool own = input.ConsumeBool();
    const std::string word = input.ConsumeRandomLengthString(100);
    const TEnglishForms lists(own ? input.ConsumeRemainingBytesAsString() : std::string());
    const std::vector<std::string> candidates = (own ? lists : wordNet).Candidates(word);
    if (candidates.size() > TEnglishForms::MaxCandidates)
        std::abort();
    for (const std::string& candidate : candidates)
        if (candidate.empty() || std::count(candidates.begin(), candidates.end(), candidate) != 1)
            std::abort();
    return 0;
}
