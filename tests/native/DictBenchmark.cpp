// Figures for the dictionary readers on real dictd dictionaries (WordNet and GCIDE by default):
// the time to open each against reading its index once, the heap they keep open, a lookup of
// every 97th headword against one chunk read from its .dict.dz, and a word it lacks. Prints only.
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "dict/DictData.h"
#include "dict/Dictionary.h"

static std::size_t LiveBytes = 0;

void* operator new(std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    LiveBytes += block ? malloc_usable_size(block) : throw std::bad_alloc();
    return block;
}
void operator delete(void* block) noexcept {
    LiveBytes -= block ? malloc_usable_size(block) : 0;
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

// The milliseconds that `work` takes, divided by `times`.
template <typename TWork> double Time(std::size_t times, TWork work) {
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < times; ++i)
        work(i);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() /
           times;
}

int main(int argc, char** argv) {
    std::vector<std::string> bases(argv + 1, argv + argc);
    bases = bases.empty() ? std::vector<std::string>{"/usr/share/dictd/wn", "/usr/share/dictd/gcide"} : bases;
    std::vector<std::unique_ptr<TDictionary>> open;
    const std::size_t before = LiveBytes;
    for (const std::string& base : bases) {
        std::vector<std::string> words;
        const double read = Time(1, [&](std::size_t) {
            std::ifstream index(base + ".index", std::ios::binary);
            std::string line;
            for (std::size_t i = 0; std::getline(index, line); ++i)
                if (i % 97 == 0)
                    words.push_back(line.substr(0, line.find('\t')));
        });
        std::string error, bytes;
        const std::size_t heap = LiveBytes;
        const double opening =
            Time(1, [&](std::size_t) { open.push_back(TDictionary::Open(base + ".index", error)); });
        const std::size_t kept = LiveBytes - heap;
        const auto data = TDictData::Open(SystemDictFiles(), base + ".dict.dz", error);
        if (!open.back() || !data) {
            std::printf("%s: %s\n", base.c_str(), error.c_str());
            continue;
        }
        std::vector<TDictEntry> entries;
        const double lookup =
            Time(words.size(), [&](std::size_t i) { open.back()->Lookup(words[i], entries); });
        const double missing =
            Time(1000, [&](std::size_t i) { open.back()->Lookup("qwxz" + std::to_string(i), entries); });
        const double chunk = Time(200, [&](std::size_t i) { data->Read(data->Size() / 200 * i, 1, bytes); });
        std::printf("%s: %zu headwords, opened in %.1f ms (%.1f times reading the index), keeps %.2f MB; %zu "
                    "lookups, %.3f ms each (%.2f times one chunk read); a word it lacks %.4f ms\n",
                    base.c_str(), open.back()->HeadwordCount(), opening, opening / read, kept / 1048576.0,
                    words.size(), lookup, lookup / chunk, missing);
    }
    std::printf("all open: %.2f MB of heap\n", (LiveBytes - before) / 1048576.0);
    return 0;
}
