// One-call reads and writes of single registry values. Each call opens its key, does its one
// read or write and closes the key again; a read's default stands in for a missing key or value.
// A value of the wrong type, or one that cannot be read or written, raises TWordlarkError.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "RegRead.h"

class ASimpleReg {
public:
    ASimpleReg() = delete;

    static bool ReadBool(const char* keyPath, const char* valueName, bool defaultValue);
    static std::int32_t ReadInteger(const char* keyPath, const char* valueName, std::int32_t defaultValue);
    static std::string ReadString(HKEY root, const char* keyPath, const char* valueName,
                                  const std::string& defaultValue = std::string());
    static std::string ReadString(const char* keyPath, const char* valueName,
                                  const std::string& defaultValue = std::string()) {
        return ReadString(HKEY_CURRENT_USER, keyPath, valueName, defaultValue);
    }

    // Text in any script, read and written with the W functions; the string is UTF-8. The registry
    // keeps REG_SZ text in UTF-16 whichever function wrote it, so values of earlier versions read as
    // they always did. A lone surrogate reads as U+FFFD.
    static std::string ReadUnicodeString(const char* keyPath, const char* valueName,
                                         const std::string& defaultValue = std::string());
    static void WriteUnicodeString(const char* keyPath, const char* valueName, const std::string& value);

    // The number of values under the key (0 when it cannot be opened): a bound on what it stores.
    static std::uint32_t CountValues(const char* keyPath);

    static void WriteBool(const char* keyPath, const char* valueName, bool value);
    static void WriteInteger(const char* keyPath, const char* valueName, std::int32_t value);
    static void WriteString(const char* keyPath, const char* valueName, const std::string& value);
};

// The error of a read whose result is WrongType ("Invalid data type for '%s'") or Failed
// ("Failed to get data for '%s'"), naming the value.
[[noreturn]] void RaiseRegistryReadError(TRegRead result, const char* valueName);
