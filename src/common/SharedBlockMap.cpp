#include "SharedBlockMap.h"

TSharedSettings* MapSharedBlock(HANDLE& mapping) {
    SetLastError(ERROR_SUCCESS);
    mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(TSharedSettings),
                                 SharedSettingsName);
    const DWORD lastError = GetLastError();
    if (!mapping)
        return nullptr;
    auto* block = static_cast<TSharedSettings*>(
        MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(TSharedSettings)));
    if (!block) {
        CloseHandle(mapping);
        mapping = nullptr;
        return nullptr;
    }
    // Field by field: the hook library has no C runtime to call memset in.
    if (lastError != ERROR_ALREADY_EXISTS)
        *block = TSharedSettings{};
    return block;
}

TKeyComboLoad LoadKeyCombos(TSharedSettings& block) {
    TKeyComboLoad load;
    for (int i = 0; i < HotKeyCount; ++i) {
        std::uint32_t value = DefaultKeyCombos[i].Value;
        const TRegRead result = ReadRegistryDword(KeyCombosKey, TKeyComboValueName(i).Text, value);
        if (result != TRegRead::Read && result != TRegRead::Missing) {
            value = DefaultKeyCombos[i].Value;
            if (load.FailedIndex < 0)
                load = TKeyComboLoad{i, result};
        }
        block.HotKeys[i] = value;
    }
    return load;
}
