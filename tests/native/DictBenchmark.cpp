// Figures for the dictionary readers on real dictionaries (WordNet and GCIDE by default): the time
// to open each, the heap that the open dictionaries keep, and the time of a lookup, against the
// time to read the index file once in the same run. Prints; never fails on a slow machine.
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "dict/Dictionary.h"

namespace {

std::size_t LiveBytes = 0;

double Milliseconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

// Every 97th headword of a dictd index, as the words to look up.
std::vector<std::string> SampleWords(const std::string& indexPath) {
    std::ifstream index(indexPath, std::ios::binary);
    std::vector<std::string> words;
    std::string line;
    for (std::size_t i = 0; std::getline(index, line); ++i)
        if (i % 97 == 0)
            words.push_back(line.substr(0, line.find('\t')));
    return words;
}

} // namespace

void* operator new(std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    LiveBytes += malloc_usable_size(block);
    return block;
}
void operator delete(void* block) noexcept {
    if (block)
        LiveBytes -= malloc_usable_size(block);
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

int main(int argc, char** argv) {
    std::vector<std::string> paths(argv + 1, argv + argc);
    if (paths.empty())
        paths = {"/usr/share/dictd/wn.index", "/usr/share/dictd/gcide.index"};
    std::vector<std::unique_ptr<TDictionary>> dictionaries;
    const std::size_t before = LiveBytes;
    for (const std::string& path : paths) {
        // Baseline: reading the index file once, as any reader must.
        auto start = std::chrono::steady_clock::now();
        std::ifstream file(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const double readTime = Milliseconds(start);
        bytes = std::string();
        const std::size_t heapBefore = LiveBytes;
        start = std::chrono::steady_clock::now();
        std::string error;
        auto dictionary = TDictionary::Open(path, error);
        const double openTime = Milliseconds(start);
        if (!dictionary) {
            std::printf("%s: not opened: %s\n", path.c_str(), error.c_str());
            continue;
        }
        std::printf("%s: \"%s\", %zu headwords, opened in %.1f ms (%.1f times reading the index, %.1f ms); "
                    "keeps %.2f MB of heap\n",
                    path.c_str(), dictionary->Name().c_str(), dictionary->HeadwordCount(), openTime,
                    openTime / readTime, readTime, (LiveBytes - heapBefore) / 1048576.0);
        dictionaries.push_back(std::move(dictionary));
    }
    std::printf("all open: %.2f MB of heap\n", (LiveBytes - before) / 1048576.0);

    for (const auto& dictionary : dictionaries) {
        if (dictionary->Path().size() < 6 ||
            dictionary->Path().substr(dictionary->Path().size() - 6) != ".index")
            continue;
        const std::vector<std::string> words = SampleWords(dictionary->Path());
        std::vector<TDictEntry> entries;
        std::size_t found = 0, failed = 0;
        const auto start = std::chrono::steady_clock::now();
        for (const std::string& word : words) {
            failed += dictionary->Lookup(word, entries) ? 0 : 1;
            found += entries.empty() ? 0 : 1;
        }
        const double each = Milliseconds(start) / static_cast<double>(words.size());
        std::printf("%s: %zu lookups, %zu found, %zu failed, %.3f ms each\n", dictionary->Name().c_str(),
                    words.size(), found, failed, each);
        // A word that no dictionary has: the search alone, no definition read.
        const auto missStart = std::chrono::steady_clock::now();
        for (int i = 0; i < 1000; ++i)
            dictionary->Lookup("qwxzv" + std::to_string(i), entries);
        std::printf("%s: a word it lacks, %.4f ms each\n", dictionary->Name().c_str(),
                    Milliseconds(missStart) / 1000);
    }
    return 0;
}
