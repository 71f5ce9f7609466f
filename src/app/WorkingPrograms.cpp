#include "WorkingPrograms.h"

#include <algorithm>

#include "ProgramNames.h"
#include "UnicodeText.h"

void TWorkingPrograms::Assign(const std::vector<std::wstring>& entries) {
    Entries.clear();
    Folded.clear();
    Add(entries);
}

int TWorkingPrograms::Add(const std::vector<std::wstring>& paths) {
    int refused = 0;
    for (const std::wstring& path : paths) {
        // The text up to a NUL, as the registry's readers see it.
        const std::size_t length = std::min(path.size(), path.find(L'\0'));
        const std::size_t start = ProgramNameStart(path.data(), length);
        const std::size_t nameLength = ProgramNameLength(length, start);
        if (nameLength == 0)
            continue;
        std::wstring name = path.substr(start, nameLength);
        std::string folded = FoldCase(Utf8FromUtf16(name));
        if (std::find(Folded.begin(), Folded.end(), folded) != Folded.end())
            continue;
        if (static_cast<int>(Entries.size()) >= MaxListedPrograms) {
            ++refused;
            continue;
        }
        Entries.push_back(std::move(name));
        Folded.push_back(std::move(folded));
    }
    return refused;
}

void TWorkingPrograms::Remove(const std::vector<int>& indices) {
    std::vector<int> sorted = indices;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    for (auto at = sorted.rbegin(); at != sorted.rend(); ++at)
        if (*at >= 0 && *at < static_cast<int>(Entries.size())) {
            Entries.erase(Entries.begin() + *at);
            Folded.erase(Folded.begin() + *at);
        }
}
