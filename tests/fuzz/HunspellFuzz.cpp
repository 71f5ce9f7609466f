// Small Hunspell word lists of arbitrary affix rules and words, in UTF-8 or ISO8859-1, with any flag
// type and a count line that may be off: opening refuses with a reason or gives a word list whose
// stems of its own words are well-formed UTF-8 and never the word itself.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

#include "dict/DictReaders.h"
#include "dict/MarkupText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider input(bytes, size);
    const std::uint8_t mode = input.ConsumeIntegral<std::uint8_t>();
    const char* const flagTypes[] = {"", "FLAG long\n", "FLAG num\n", "FLAG UTF-8\n", "FLAG short\n"};
    std::string affix =
        std::string(mode & 1 ? "SET ISO8859-1\n" : "SET UTF-8\n") + flagTypes[(mode >> 1) % 5];
    for (int rule = input.ConsumeIntegralInRange(0, 6); rule > 0; --rule) {
        const std::string head = (input.ConsumeBool() ? "SFX " : "PFX ") + input.ConsumeRandomLengthString(3);
        affix += head + " Y 1\n" + head + " " + input.ConsumeRandomLengthString(4) + " " +
                 input.ConsumeRandomLengthString(6) + " " + input.ConsumeRandomLengthString(6) + "\n";
    }
    std::vector<std::string> words;
    std::string dic;
    while (input.remaining_bytes() > 0 && words.size() < 16)
        dic += words.emplace_back(input.ConsumeRandomLengthString(24)) + "\n";

    static const std::string base = "/tmp/wl-hunspell-fuzz-" + std::to_string(getpid());
    std::ofstream(base + ".aff", std::ios::binary | std::ios::trunc) << affix;
    std::ofstream(base + ".dic", std::ios::binary | std::ios::trunc) << words.size() + (mode >> 6) << "\n"
                                                                     << dic;
    std::string error;
    const auto forms = OpenDictionary(SystemDictFiles(), base + ".dic", error);
    const auto check = [](bool condition) { condition ? void() : std::abort(); };
    check(!forms == !error.empty());
    if (!forms)
        return 0;
    for (std::string word : words) {
        word = word.substr(0, word.find('/'));
        for (const std::string& stem : forms->Stems(word))
            check(!stem.empty() && stem != word && IsUtf8(stem));
    }
    return 0;
}
