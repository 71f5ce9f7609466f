#include "SimpleReg.h"

#include "Errors.h"
#include "RegRead.h"
#include "UnicodeText.h"

#include <vector>

namespace {

[[noreturn]] void RaiseNamed(const char* format, const char* valueName) {
    throw TWordlarkError(FormatNamed(format, valueName));
}

// The integer of a REG_DWORD value, or the default when the key or value is missing.
std::int32_t ReadDword(const char* keyPath, const char* valueName, std::int32_t defaultValue) {
    std::uint32_t value = 0;
    const TRegRead result = ReadRegistryDword(keyPath, valueName, value);
    if (result == TRegRead::Missing)
        return defaultValue;
    if (result != TRegRead::Read)
        RaiseRegistryReadError(result, valueName);
    return static_cast<std::int32_t>(value);
}

void WriteValue(const char* keyPath, const char* valueName, DWORD type, const void* data, DWORD size) {
    TRegKey key;
    if (!key.Create(HKEY_CURRENT_USER, keyPath, KEY_ALL_ACCESS))
        return;
    if (RegSetValueExA(key.Get(), valueName, 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
        RaiseNamed("Failed to set data for '%s'", valueName);
}

} // namespace

void RaiseRegistryReadError(TRegRead result, const char* valueName) {
    RaiseNamed(result == TRegRead::WrongType ? "Invalid data type for '%s'" : "Failed to get data for '%s'",
               valueName);
}

bool ASimpleReg::ReadBool(const char* keyPath, const char* valueName, bool defaultValue) {
    return ReadDword(keyPath, valueName, defaultValue ? 1 : 0) != 0;
}

std::int32_t ASimpleReg::ReadInteger(const char* keyPath, const char* valueName, std::int32_t defaultValue) {
    return ReadDword(keyPath, valueName, defaultValue);
}

std::string ASimpleReg::ReadString(HKEY root, const char* keyPath, const char* valueName,
                                   const std::string& defaultValue) {
    TRegKey key;
    DWORD type = 0, size = 0;
    if (!OpenForReading(key, root, keyPath) ||
        RegQueryValueExA(key.Get(), valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return defaultValue;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        RaiseRegistryReadError(TRegRead::WrongType, valueName);
    if (size == 0)
        return std::string();
    // The value may grow between the two queries; ERROR_MORE_DATA then counts as a failed read.
    std::vector<char> data(size);
    if (RegQueryValueExA(key.Get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
        RaiseRegistryReadError(TRegRead::Failed, valueName);
    std::string text(data.data(), size);
    return text.substr(0, text.find('\0'));
}

std::string ASimpleReg::ReadUnicodeString(const char* keyPath, const char* valueName,
                                          const std::string& defaultValue) {
    TRegKey key;
    DWORD type = 0, size = 0;
    const std::wstring name = Utf16FromUtf8(valueName);
    if (!OpenForReading(key, HKEY_CURRENT_USER, keyPath) ||
        RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return defaultValue;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        RaiseRegistryReadError(TRegRead::WrongType, valueName);
    // An odd size (a value written as raw bytes) loses its last byte, never the text before it.
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
    DWORD read = static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t));
    if (read == 0)
        return std::string();
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &read) != ERROR_SUCCESS)
        RaiseRegistryReadError(TRegRead::Failed, valueName);
    const std::wstring text(data.data(), read / sizeof(wchar_t));
    return Utf8FromUtf16(text.substr(0, text.find(L'\0')));
}

void ASimpleReg::WriteUnicodeString(const char* keyPath, const char* valueName, const std::string& value) {
    TRegKey key;
    if (!key.Create(HKEY_CURRENT_USER, keyPath, KEY_ALL_ACCESS))
        return;
    const std::wstring text = Utf16FromUtf8(value);
    if (RegSetValueExW(key.Get(), Utf16FromUtf8(valueName).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        RaiseNamed("Failed to set data for '%s'", valueName);
}

std::uint32_t ASimpleReg::CountValues(const char* keyPath) {
    TRegKey key;
    DWORD values = 0;
    if (!OpenForReading(key, HKEY_CURRENT_USER, keyPath) ||
        RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return 0;
    return values;
}

void ASimpleReg::WriteBool(const char* keyPath, const char* valueName, bool value) {
    WriteInteger(keyPath, valueName, value ? 1 : 0);
}

void ASimpleReg::WriteInteger(const char* keyPath, const char* valueName, std::int32_t value) {
    const DWORD data = static_cast<DWORD>(value);
    WriteValue(keyPath, valueName, REG_DWORD, &data, sizeof data);
}

void ASimpleReg::WriteString(const char* keyPath, const char* valueName, const std::string& value) {
    WriteValue(keyPath, valueName, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}
