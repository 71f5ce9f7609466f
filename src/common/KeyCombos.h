// Key combinations: the one value in which the system holds a hot key, a keystroke to
// synthesise and a key press seen by the keyboard hook.
//
// Layout, from the least significant byte: bits 0-7 the modifier set (bit 0 Ctrl, bit 1 Alt,
// bit 2 Shift, bit 3 Win), bits 8-15 the extended flag (0 or 1), bits 16-31 the virtual key.
// Stored as a REG_DWORD and in the shared block as one 32-bit field.
//
// This header and KeyCombos.cpp need no Win32; KeyCombosWin.cpp holds the thin calls of
// GetKeyState, SendInput, MapVirtualKeyA and GetKeyNameTextA.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct TKeyCombo {
    std::uint32_t Value = 0;

    static constexpr TKeyCombo Make(std::uint16_t virtualKey, bool extended, std::uint8_t modifiers) {
        return TKeyCombo{static_cast<std::uint32_t>(virtualKey) << 16 | (extended ? 1u : 0u) << 8 |
                         modifiers};
    }
    constexpr std::uint8_t Modifiers() const { return static_cast<std::uint8_t>(Value & 0xFF); }
    constexpr bool Extended() const { return ((Value >> 8) & 0xFF) != 0; }
    constexpr std::uint16_t VirtualKey() const { return static_cast<std::uint16_t>(Value >> 16); }
};

enum TModifier : std::uint8_t { ModCtrl = 1, ModAlt = 2, ModShift = 4, ModWin = 8 };

constexpr std::uint16_t VkShift = 0x10, VkControl = 0x11, VkMenu = 0x12, VkLWin = 0x5B, VkRWin = 0x5C;
constexpr std::uint16_t VkLShift = 0xA0, VkRMenu = 0xA5;

// In modifier-set order: bit i of Modifiers is the key ModifierKeys[i].
extern const std::uint16_t ModifierKeys[4];

constexpr std::size_t ReservedKeyComboCount = 22;
extern const TKeyCombo ReservedKeyCombos[ReservedKeyComboCount];

bool KeyCombosEqual(TKeyCombo a, TKeyCombo b);
bool IsModifierKey(std::uint32_t virtualKey);
bool IsReservedKeyCombo(TKeyCombo combo);

// One keyboard event to synthesise: virtual key (low byte) and flags.
struct TKeyEvent {
    std::uint8_t VirtualKey;
    std::uint32_t Flags;
};
constexpr std::uint32_t KeyEventExtendedKey = 1, KeyEventKeyUp = 2;

// The events that SendKeyCombo sends, in order; returns their number (at most 9).
struct TKeyEventSequence {
    TKeyEvent Events[9];
    std::size_t Count = 0;
};
TKeyEventSequence KeyComboEvents(TKeyCombo combo, bool press);

// The combination of a key with the modifiers whose keys are down; isDown(vk) tells a key's state.
template <class IsDown>
TKeyCombo MakePressedKeyCombo(std::uint16_t virtualKey, bool extended, IsDown isDown) {
    std::uint8_t modifiers = 0;
    for (int i = 0; i < 4; ++i)
        if (isDown(ModifierKeys[i]))
            modifiers |= static_cast<std::uint8_t>(1u << i);
    if (isDown(VkRWin))
        modifiers |= ModWin;
    return TKeyCombo::Make(virtualKey, extended, modifiers);
}

// Text form with the key names supplied by keyName: modifiers in the order Ctrl, Alt, Shift, Win,
// each followed by " + ", then the main key.
using TKeyNameFunction = std::string (*)(std::uint16_t virtualKey, bool extended);
std::string KeyComboToText(TKeyCombo combo, TKeyNameFunction keyName);

// Win32 side (KeyCombosWin.cpp).
std::string KeyNameText(std::uint16_t virtualKey, bool extended);
std::string KeyComboToText(TKeyCombo combo);
// The events of each step, in order, in one SendInput, so that no other input comes between them.
struct TKeyComboStep {
    TKeyCombo Combo;
    bool Press;
};
void SendKeyCombos(const TKeyComboStep* steps, std::size_t count);
void SendKeyCombo(TKeyCombo combo, bool press);
// Waits, at most `milliseconds`, until the user has let go of every modifier of the combination;
// false when one is still held then.
bool WaitForModifiersUp(TKeyCombo combo, unsigned milliseconds);
TKeyCombo GetPressedKeyCombo(std::uint16_t virtualKey, bool extended);
