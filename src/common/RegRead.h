// Registry reads that neither allocate nor raise, for the hook library as well as the program:
// the outcome of a read is a value, and the caller decides what an unreadable value means.
#pragma once

#include <windows.h>

#include <cstdint>

#include "WinHandles.h"

enum class TRegRead { Read, Missing, WrongType, Failed };

// Read-only open with falling rights: some keys grant less than KEY_READ.
bool OpenForReading(TRegKey& key, HKEY root, const char* keyPath);

// A REG_DWORD value under HKEY_CURRENT_USER; `value` is set only when the result is Read.
TRegRead ReadRegistryDword(const char* keyPath, const char* valueName, std::uint32_t& value);
