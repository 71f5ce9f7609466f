// Small dictionaries that the tests write themselves, in the two formats the program reads.
#pragma once

#include <string>
#include <vector>

namespace TestSupport {

struct TTestEntry {
    std::string Headword, Definition; // UTF-8
};

// A dictd dictionary: "<stem>.index" (in dictd's default order) and an uncompressed "<stem>.dict",
// named by its "00-database-short" entry. Returns the .index file's path.
std::string WriteDictdDictionary(const std::string& stem, const std::string& name,
                                 std::vector<TTestEntry> entries);
// A StarDict 2.4.2 dictionary of plain-text entries: "<stem>.ifo", ".idx" and ".dict".
// Returns the .ifo file's path.
std::string WriteStarDictDictionary(const std::string& stem, const std::string& name,
                                    std::vector<TTestEntry> entries);
// Deletes the files of a dictionary written above.
void DeleteDictionary(const std::string& path);

} // namespace TestSupport
