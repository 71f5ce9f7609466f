// The programs in which the hot keys are off: where the list is stored, and the rule by which a
// stored entry becomes the name that is matched. The program (which shows and edits the list) and
// the hook library (which matches it, without a runtime) read the same values by the same rule.
// Needs no Win32 and allocates nothing.
#pragma once

#include <cstddef>

// HKEY_CURRENT_USER: "ProgramCount" (REG_DWORD) and "Program0".. (REG_SZ, one file name each).
constexpr const char* ProgramsKey = "Software\\Orvane\\Wordlark2\\Programs";
constexpr const wchar_t* ProgramsKeyW = L"Software\\Orvane\\Wordlark2\\Programs";

// The most programs the list holds; a larger stored count reads the first values only.
constexpr int MaxListedPrograms = 300;
// A stored entry longer than this (a path may be long) is ignored, as is a file name longer than
// the longest that a file system allows.
constexpr std::size_t MaxProgramEntryLength = 32767, MaxProgramNameLength = 255;
// A stored value of more bytes than this is ignored unread; a value is read up to its first NUL.
constexpr std::size_t MaxProgramEntryBytes = (MaxProgramEntryLength + 1) * 2;

// Where the file name of a stored entry starts: after its last "\", "/" or ":".
template <class TChar> std::size_t ProgramNameStart(const TChar* entry, std::size_t length) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < length; ++i)
        if (entry[i] == TChar('\\') || entry[i] == TChar('/') || entry[i] == TChar(':'))
            start = i + 1;
    return start;
}

// The length of the name that an entry of `length` units, starting at `start`, is matched by; 0
// when the entry counts for nothing (too long, empty, or nothing but a folder).
constexpr std::size_t ProgramNameLength(std::size_t length, std::size_t start) {
    return length > MaxProgramEntryLength || length - start > MaxProgramNameLength ? 0 : length - start;
}
