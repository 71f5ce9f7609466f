// Small dictionaries on disk for the tests that drive the program: the files that DictWriter
// (shared with the readers' native tests) makes, written where their paths say.
#pragma once

#include <map>
#include <string>

namespace TestSupport {

// Writes each file (path, bytes); raises when one cannot be written.
void WriteFiles(const std::map<std::string, std::string>& files);

} // namespace TestSupport
