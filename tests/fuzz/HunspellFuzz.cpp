// Small Hunspell word lists of arbitrary affix rules and words, in UTF-8 or an 8-bit set, with any
// flag type and a count line that may be off: opening refuses with a reason or gives a word list
// whose stems of its own words are well-formed UTF-8 and never the word itself.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

#include "dict/DictReaders.h"
#include "dict/MarkupText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
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
    static const std::string base = "/tmp/wl-hunspell-fuzz-" + std::to_string(getpid());
    std::ofstream(base + ".aff", std::ios::binary) << affix;
    std::ofstream(base + ".dic", std::ios::binary)
        << words.size() + input.ConsumeIntegral<std::uint8_t>() % 2 << "\n"
        << dic;
    std::string error;
    const auto forms = OpenDictionary(SystemDictFiles(), base + ".dic", error);
    bool good = !forms == !error.empty();
    for (std::size_t n = 0; forms && n < words.size(); ++n)
        for (const std::string& stem : forms->Stems(word = words[n].substr(0, words[n].find('/'))))
            good = good && !stem.empty() && stem != word && IsUtf8(stem);
    good ? void() : std::abort();
    return 0;
}
