// The 24-byte block of live state shared by the program and every copy of the hook library.
// Both deliverables must agree on it byte for byte; it needs no Win32.
#pragma once

#include <cstddef>
#include <cstdint>

#include "KeyCombos.h"

struct TSharedSettings {
    std::uint8_t ConfigWindowShown; // 1 while the configuration window is shown
    std::uint8_t Disabled;          // inverse of "enabled", so that a zeroed block means enabled
    std::uint8_t KeyCombosLoaded;   // 1 once the hot keys were loaded from the registry
    std::uint8_t Reserved;
    std::uint32_t HookHandle;   // low 32 bits of the hook handle (handles have 32 significant bits)
    std::uint32_t TargetWindow; // low 32 bits of the window that receives the hook's messages
    std::uint32_t HotKeys[3];   // key combinations by hot-key index
};

static_assert(sizeof(TSharedSettings) == 24, "the shared block is 24 bytes");
static_assert(offsetof(TSharedSettings, Disabled) == 1 && offsetof(TSharedSettings, KeyCombosLoaded) == 2 &&
                  offsetof(TSharedSettings, HookHandle) == 4 &&
                  offsetof(TSharedSettings, TargetWindow) == 8 && offsetof(TSharedSettings, HotKeys) == 12,
              "field offsets are shared with other processes");

constexpr const char* SharedSettingsName = "WordlarkSettings3";
// Where the hot keys are kept between runs (HKEY_CURRENT_USER), as KeyCombo0..KeyCombo2.
constexpr const char* KeyCombosKey = "Software\\Orvane\\Wordlark2\\KeyCombos";

constexpr int HotKeyCount = 3;
enum THotKeyIndex { QuickLookup = 0, MenuLookup = 1, EditAndLookup = 2 };

// Ctrl + L, Ctrl + M, Ctrl + Q.
constexpr TKeyCombo DefaultKeyCombos[HotKeyCount] = {{0x004C0001}, {0x004D0001}, {0x00510001}};

// 32-bit handle fields: store the low 32 bits, sign-extend when reading back (as Windows does
// between 32- and 64-bit processes).
constexpr std::uint32_t HandleToField(std::uintptr_t handle) {
    return static_cast<std::uint32_t>(handle);
}
constexpr std::uintptr_t FieldToHandle(std::uint32_t field) {
    return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(static_cast<std::int32_t>(field)));
}
