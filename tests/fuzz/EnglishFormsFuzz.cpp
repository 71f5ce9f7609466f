// Arbitrary words against WordNet's real exception lists, or against arbitrary exception text:
// the candidates are bounded in number, each is given once, none is empty or the word itself,
// and a word outside ASCII or ending in no letter has none.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>

#include "dict/EnglishForms.h"
#include "support/WordNetLists.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const auto check = [](bool condition) { condition ? void() : std::abort(); };
    static const TEnglishForms wordNet(WordNetExceptionLists());
    FuzzedDataProvider input(bytes, size);
    const bool ownLists = input.ConsumeBool();
    const std::string word = input.ConsumeRandomLengthString(100);
    const TEnglishForms own(ownLists ? input.ConsumeRemainingBytesAsString() : std::string());
    const std::vector<std::string> candidates = (ownLists ? own : wordNet).Candidates(word);

    check(candidates.size() <= TEnglishForms::MaxCandidates);
    std::string lower = word;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    for (std::size_t n = 0; n < candidates.size(); ++n) {
        check(!candidates[n].empty() && candidates[n] != lower);
        check(std::count(candidates.begin(), candidates.end(), candidates[n]) == 1);
    }
    const bool ascii =
        std::all_of(word.begin(), word.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (word.empty() || word.size() > TEnglishForms::MaxWordLength || !ascii || lower.back() < 'a' ||
        lower.back() > 'z')
        check(candidates.empty());
    return 0;
}
