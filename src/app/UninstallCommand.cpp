#include "UninstallCommand.h"

#include <algorithm>
#include <cctype>

namespace {

// Windows folder names ignore case; a folder may be written with or without its last separator.
bool SameFolder(std::string a, std::string b) {
    for (std::string* folder : {&a, &b}) {
        while (!folder->empty() && (folder->back() == '\\' || folder->back() == '/'))
            folder->pop_back();
        for (char& c : *folder)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return !a.empty() && a == b;
}

} // namespace

std::string UninstallProgramPath(const std::string& command) {
    std::string path = command;
    path.erase(std::remove(path.begin(), path.end(), '"'), path.end());
    return path;
}

std::string ChooseUninstallCommand(const std::vector<TUninstallEntry>& entries,
                                   const std::string& programFolder) {
    for (const TUninstallEntry& entry : entries)
        if (!entry.UninstallString.empty() && SameFolder(entry.InstallLocation, programFolder))
            return entry.UninstallString;
    for (const TUninstallEntry& entry : entries)
        if (!entry.UninstallString.empty())
            return entry.UninstallString;
    return "";
}
