#include "OpenFilesDialog.h"

#include <commdlg.h>

#include "../common/UnicodeText.h"

std::vector<std::wstring> ChooseFilesToOpen(HWND owner, const std::string& filter,
                                            const wchar_t* defaultExtension) {
    std::wstring filterText = Utf16FromUtf8(filter);
    for (wchar_t& c : filterText)
        if (c == L'|')
            c = L'\0';
    std::vector<wchar_t> buffer(65536, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filterText.c_str();
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrDefExt = defaultExtension;
    dialog.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                   OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_DONTADDTORECENT;
    if (!GetOpenFileNameW(&dialog))
        return {}; // cancelled, or nothing that could be read
    // One full path, or the folder followed by the chosen files' names.
    std::vector<std::wstring> parts;
    for (const wchar_t* part = buffer.data(); *part; part += parts.back().size() + 1)
        parts.emplace_back(part);
    if (parts.size() <= 1)
        return parts;
    std::wstring folder = parts.front();
    if (folder.back() != L'\\')
        folder += L'\\';
    std::vector<std::wstring> paths;
    for (std::size_t i = 1; i < parts.size(); ++i)
        paths.push_back(folder + parts[i]);
    return paths;
}
