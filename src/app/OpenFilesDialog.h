// The standard Open dialog for one or several files, as the Programs and Dictionaries pages use it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The full paths of the files the user chose; none when the dialog was cancelled. `filter` is the
// dialog's filter in UTF-8 with "|" between its parts ("Programs (*.exe)|*.exe|").
std::vector<std::wstring> ChooseFilesToOpen(HWND owner, const std::string& filter,
                                            const wchar_t* defaultExtension = nullptr);
