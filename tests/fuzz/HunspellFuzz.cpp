// Small Hunspell word lists made of arbitrary words and affix rules (or arbitrary bytes), in UTF-8 or
// ISO8859-1, with arbitrary flag types: opening refuses with a reason or gives a word list whose
// stems, for its own words and arbitrary ones, are well-formed UTF-8 and never the word itself.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

#include "dict/DictReaders.h"
#include "dict/MarkupText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const auto check = [](bool condition) { condition ? void() : std::abort(); };
    FuzzedDataProvider input(bytes, size);
    const std::uint8_t mode = input.ConsumeIntegral<std::uint8_t>();
    const char* const flagTypes[] = {"", "FLAG long\n", "FLAG num\n", "FLAG UTF-8\n", "FLAG short\n"};
    std::string affix =
        std::string(mode & 1 ? "SET ISO8859-1\n" : "SET UTF-8\n") + flagTypes[(mode >> 1) % 5];
    std::vector<std::string> words;
    if (mode & 0x80) {
        affix += input.ConsumeRandomLengthString(400);
        words.push_back(input.ConsumeRandomLengthString(400));
    } else {
        for (int rule = input.ConsumeIntegralInRange(0, 6); rule > 0; --rule) {
            const std::string kind = input.ConsumeBool() ? "SFX" : "PFX",
                              flag = input.ConsumeRandomLengthString(3);
            const int count = input.ConsumeIntegralInRange(1, 3);
            affix += kind + " " + flag + " Y " + std::to_string(count) + "\n";
            for (int line = 0; line < count; ++line)
                affix += kind + " " + flag + " " + input.ConsumeRandomLengthString(4) + " " +
                         input.ConsumeRandomLengthString(6) + " " + input.ConsumeRandomLengthString(6) + "\n";
        }
        while (input.remaining_bytes() > 0 && words.size() < 16)
            words.push_back(input.ConsumeRandomLengthString(24));
    }
    std::string dic =
        (mode & 0x40 ? input.ConsumeRandomLengthString(8) : std::to_string(words.size())) + "\n";
    for (const std::string& word : words)
        dic += word + "\n";

    static const std::string base = "/tmp/wl-hunspell-fuzz-" + std::to_string(getpid());
    std::ofstream(base + ".aff", std::ios::binary | std::ios::trunc) << affix;
    std::ofstream(base + ".dic", std::ios::binary | std::ios::trunc) << dic;
    std::string error;
    const auto forms = OpenDictionary(SystemDictFiles(), base + ".dic", error);
    check(!forms == !error.empty());
    if (!forms)
        return 0;
    words.push_back(input.ConsumeRemainingBytesAsString());
    for (std::string word : words) {
        word = word.substr(0, word.find('/'));
        for (const std::string& stem : forms->Stems(word))
            check(!stem.empty() && stem != word && IsUtf8(stem));
    }
    return 0;
}
