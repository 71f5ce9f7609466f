#include "DictionaryFiles.h"

#include <fstream>
#include <stdexcept>

namespace TestSupport {

void WriteFiles(const std::map<std::string, std::string>& files) {
    for (const auto& [path, bytes] : files)
        if (!(std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes))
            throw std::runtime_error("cannot write " + path);
}

} // namespace TestSupport
