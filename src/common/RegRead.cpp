#include "RegRead.h"

bool OpenForReading(TRegKey& key, HKEY root, const char* keyPath) {
    return key.Open(root, keyPath, KEY_READ) ||
           key.Open(root, keyPath, STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS) ||
           key.Open(root, keyPath, KEY_QUERY_VALUE);
}

TRegRead ReadRegistryDword(const char* keyPath, const char* valueName, std::uint32_t& value) {
    TRegKey key;
    DWORD type = 0, size = 0;
    if (!OpenForReading(key, HKEY_CURRENT_USER, keyPath) ||
        RegQueryValueExA(key.Get(), valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return TRegRead::Missing;
    if (type != REG_DWORD)
        return TRegRead::WrongType;
    DWORD data = 0;
    size = sizeof data;
    if (RegQueryValueExA(key.Get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return TRegRead::Failed;
    value = data;
    return TRegRead::Read;
}
