// The dictionary files, from arbitrary bytes. The first byte chooses what is fuzzed with the rest:
// - the index and the definitions, in DictIndexFuzz.cpp and DictzipFuzz.cpp;
// - the English word forms: arbitrary words against arbitrary exception lists give a bounded number
//   of candidates, each once and none empty;
// - Hunspell word lists of arbitrary affix rules and words, in UTF-8 or an 8-bit set, with any flag
//   type and a count line that may be off, written to files: opening refuses with a reason or gives a
//   word list whose stems of its own words are well-formed UTF-8 and never the word itself.
#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "common/UnicodeText.h"
#include "dict/DictReaders.h"
#include "dict/EnglishForms.h"
#include "dict/MarkupText.h"
#include "support/DictWriter.h"

namespace {

const auto check = [](bool condition) { condition ? void() : std::abort(); };

int FuzzEnglishForms(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider input(bytes, size);
    const std::string word = input.ConsumeRandomLengthString(100);
    const std::vector<std::string> candidates =
        TEnglishForms(input.ConsumeRemainingBytesAsString()).Candidates(word);
    check(candidates.size() <= TEnglishForms::MaxCandidates);
    for (const std::string& candidate : candidates)
        check(!candidate.empty() && std::count(candidates.begin(), candidates.end(), candidate) == 1);
    return 0;
}

int FuzzHunspell(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider input(bytes, size);
    const char* const heads[] = {"SET UTF-8\n", "SET KOI8-R\nFLAG long\n", "FLAG num\n",
                                 "SET UTF-8\nFLAG UTF-8\n"};
    std::string affix = heads[input.ConsumeIntegralInRange(0, 3)], dic, word;
    for (int rule = input.ConsumeIntegralInRange(0, 6); rule > 0; --rule) {
        const std::string head = (input.ConsumeBool() ? "SFX " : "PFX ") + input.ConsumeRandomLengthString(3);
        affix += head + " Y 1\n" + head + " " + input.ConsumeRandomLengthString(16) + "\n";
    }
    std::vector<std::string> words;
    for (int count = input.ConsumeIntegralInRange(0, 16); count > 0; --count)
        dic += words.emplace_back(input.ConsumeRandomLengthString(24)) + "\n";
    // Hunspell reads its files itself.
    static const std::string base = "/tmp/wl-hunspell-fuzz-" + std::to_string(getpid());
    std::ofstream(base + ".aff", std::ios::binary) << affix;
    std::ofstream(base + ".dic", std::ios::binary)
        << words.size() + input.ConsumeIntegral<std::uint8_t>() % 2 << "\n"
        << dic;
    std::string error;
    const auto forms = OpenDictionary(SystemDictFiles(), base + ".dic", error);
    check(!forms == !error.empty());
    for (std::size_t n = 0; forms && n < words.size(); ++n)
        for (const std::string& stem : forms->Stems(word = words[n].substr(0, words[n].find('/'))))
            check(!stem.empty() && stem != word && IsUtf8(stem));
    return 0;
}

} // namespace

int FuzzDictIndex(const std::uint8_t* bytes, std::size_t size);
int FuzzDictzip(const std::uint8_t* bytes, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    int (*const fuzz[])(const std::uint8_t*, std::size_t) = {FuzzDictIndex, FuzzDictzip, FuzzEnglishForms,
                                                             FuzzHunspell};
    return size == 0 ? 0 : fuzz[bytes[0] % 4](bytes + 1, size - 1);
}
