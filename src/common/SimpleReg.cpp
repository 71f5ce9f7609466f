#include "SimpleReg.h"

#include "Errors.h"
#include "WinHandles.h"

#include <vector>

namespace {

// Read-only open with falling rights: some keys grant less than KEY_READ.
bool OpenForReading(TRegKey& key, HKEY root, const char* keyPath) {
    return key.Open(root, keyPath, KEY_READ) ||
           key.Open(root, keyPath, STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS) ||
           key.Open(root, keyPath, KEY_QUERY_VALUE);
}

[[noreturn]] void RaiseNamed(const char* format, const char* valueName) {
    throw TWordlarkError(FormatNamed(format, valueName));
}

// The integer of a REG_DWORD value, or the default when the key or value is missing.
// Formats nothing and allocates nothing unless it raises: the hook library reads its hot keys here.
std::int32_t ReadDword(const char* keyPath, const char* valueName, std::int32_t defaultValue) {
    TRegKey key;
    DWORD type = 0, size = 0;
    if (!OpenForReading(key, HKEY_CURRENT_USER, keyPath) ||
        RegQueryValueExA(key.Get(), valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return defaultValue;
    if (type != REG_DWORD)
        RaiseNamed("Invalid data type for '%s'", valueName);
    DWORD value = 0;
    size = sizeof value;
    if (RegQueryValueExA(key.Get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        RaiseNamed("Failed to get data for '%s'", valueName);
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
        RaiseNamed("Invalid data type for '%s'", valueName);
    if (size == 0)
        return std::string();
    // The value may grow between the two queries; ERROR_MORE_DATA then counts as a failed read.
    std::vector<char> data(size);
    if (RegQueryValueExA(key.Get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
        RaiseNamed("Failed to get data for '%s'", valueName);
    std::string text(data.data(), size);
    return text.substr(0, text.find('\0'));
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
