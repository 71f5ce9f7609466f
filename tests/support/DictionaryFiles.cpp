#include "DictionaryFiles.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "DictWriter.h"

namespace TestSupport {

void WriteFiles(const std::map<std::string, std::string>& files) {
    for (const auto& [path, bytes] : files) {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!file)
            throw std::runtime_error("cannot write " + path);
    }
}

std::string WriteStarDict(const std::string& folder, const std::string& stem, const std::string& name,
                          const std::vector<TDictWord>& words) {
    std::vector<DictWriter::TStarDictEntry> entries;
    for (const TDictWord& word : words)
        entries.push_back({word.Headword, word.Definition});
    DictWriter::TStarDictOptions options;
    options.SameTypes = "m";
    const std::string base = folder + "\\" + stem;
    WriteFiles(DictWriter::StarDictFiles(base, name, entries, {}, options));
    return base + ".ifo";
}

std::string WriteDictd(const std::string& folder, const std::string& stem, const std::string& name,
                       const std::vector<TDictWord>& words) {
    std::vector<DictWriter::TDictdEntry> entries = {
        {"00-database-short", "", "00-database-short\n     " + name + "\n"},
        {"00-database-utf8", "", "00-database-utf8\n"}};
    for (const TDictWord& word : words)
        entries.push_back({word.Headword, "", word.Definition});
    std::sort(
        entries.begin(), entries.end(),
        [](const DictWriter::TDictdEntry& a, const DictWriter::TDictdEntry& b) { return a.Key < b.Key; });
    const std::string base = folder + "\\" + stem;
    WriteFiles(DictWriter::DictdFiles(base, entries));
    return base + ".index";
}

} // namespace TestSupport
