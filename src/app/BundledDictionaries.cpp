#include "BundledDictionaries.h"

#include <windows.h>

#include <algorithm>

#include "../common/Errors.h"
#include "../common/Settings.h"
#include "../common/UnicodeText.h"
#include "../common/WinHandles.h"

namespace {

constexpr const wchar_t* FolderName = L"Dictionaries";

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

// ".index" or ".ifo" in any letter case; matched here rather than by the search pattern, which also
// takes a longer extension that begins the same way (through the short file names).
bool IsDictionaryFile(const std::wstring& name) {
    const std::size_t dot = name.find_last_of(L'.');
    if (dot == std::wstring::npos)
        return false;
    const wchar_t* extension = name.c_str() + dot;
    return _wcsicmp(extension, L".index") == 0 || _wcsicmp(extension, L".ifo") == 0;
}

} // namespace

std::vector<std::wstring> BundledDictionaryFiles() {
    const std::wstring folder = ProgramFolder() + FolderName + L"\\";
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found{};
    const HANDLE first = FindFirstFileW((folder + L"*").c_str(), &found);
    if (first == INVALID_HANDLE_VALUE)
        return files;
    const TFileSearch search(first);
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsDictionaryFile(found.cFileName))
            files.push_back(folder + found.cFileName);
    } while (FindNextFileW(search.Get(), &found));
    std::sort(files.begin(), files.end());
    files.resize(std::min<std::size_t>(files.size(), MaxListedDictionaries));
    return files;
}

std::vector<std::wstring> ListBundledDictionaries() {
    if (ASettings::HasDictionaryList())
        return {};
    const std::vector<std::wstring> files = BundledDictionaryFiles();
    try {
        // Stored even when empty: the first start is over.
        ASettings::SetDictionaries(files);
    } catch (const TWordlarkError&) {
        return {};
    }
    return files;
}

void KeepOpenedDictionaries(const std::vector<std::wstring>& listed, const TDictionaryShelf::TItems& opened) {
    try {
        std::vector<std::wstring> kept;
        for (const std::wstring& path : listed) {
            const std::string utf8 = Utf8FromUtf16(path);
            if (std::any_of(opened.begin(), opened.end(), [&](const TDictionaryShelf::TItem& item) {
                    return item.Path == utf8 && item.Dictionary;
                }))
                kept.push_back(path);
        }
        if (kept.size() != listed.size() && ASettings::GetDictionaries() == listed)
            ASettings::SetDictionaries(kept);
    } catch (...) {
        // The registry refused: the files that failed stay listed and are said to be unreadable.
    }
}
