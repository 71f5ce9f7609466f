// Small dictionaries written into a folder for the tests that drive the program: the files that
// DictWriter makes, put on disk. Paths are UTF-8 and may use either slash.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace TestSupport {

struct TDictWord {
    std::string Headword;
    std::string Definition;
};

// Writes each file (path, bytes).
void WriteFiles(const std::map<std::string, std::string>& files);
// folder/stem.ifo, .idx and .dict, plain text ("sametypesequence=m"); returns the .ifo's path.
std::string WriteStarDict(const std::string& folder, const std::string& stem, const std::string& name,
                          const std::vector<TDictWord>& words);
// folder/stem.index and .dict, named by "00-database-short", lines in byte order
// ("00-database-utf8"); returns the .index's path.
std::string WriteDictd(const std::string& folder, const std::string& stem, const std::string& name,
                       const std::vector<TDictWord>& words);

} // namespace TestSupport
