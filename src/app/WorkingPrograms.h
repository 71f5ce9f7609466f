// The programs in which the hot keys are off, as the user edits them on the Programs page: file
// names without their folders, each listed once (letter case ignored), at most MaxListedPrograms.
// Needs no Win32; the page only mirrors the list in its controls.
#pragma once

#include <string>
#include <vector>

class TWorkingPrograms {
public:
    // Replaces the list with stored entries, read by the same rule as the hook library reads them.
    void Assign(const std::vector<std::wstring>& entries);
    // Appends the file names of the paths that are not listed yet; returns how many did not fit.
    int Add(const std::vector<std::wstring>& paths);
    // Removes the entries at the indices (in any order; indices outside the list are ignored).
    void Remove(const std::vector<int>& indices);

    const std::vector<std::wstring>& Names() const { return Entries; }

private:
    std::vector<std::wstring> Entries;
    std::vector<std::string> Folded; // the entries' names in one letter case, for comparing
};
