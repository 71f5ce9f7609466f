// The Win32 calls behind key combinations: key names of the active layout, key state, synthesis.
#include <windows.h>

#include "KeyCombos.h"

std::string KeyNameText(std::uint16_t virtualKey, bool extended) {
    if (virtualKey == VkLWin || virtualKey == VkRWin)
        return "Win";
    const UINT scanCode = MapVirtualKeyA(virtualKey, 0) & 0xFFFF;
    if (scanCode == 0)
        return "?";
    char name[255];
    const LONG keyData = static_cast<LONG>(scanCode << 16 | (extended ? 1u : 0u) << 24);
    const int length = GetKeyNameTextA(keyData, name, sizeof name);
    return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string KeyComboToText(TKeyCombo combo) {
    return KeyComboToText(combo, KeyNameText);
}

void SendKeyCombo(TKeyCombo combo, bool press) {
    const TKeyEventSequence sequence = KeyComboEvents(combo, press);
    for (std::size_t i = 0; i < sequence.Count; ++i)
        keybd_event(sequence.Events[i].VirtualKey, 0, sequence.Events[i].Flags, 0);
}

TKeyCombo GetPressedKeyCombo(std::uint16_t virtualKey, bool extended) {
    return MakePressedKeyCombo(virtualKey, extended, [](std::uint16_t vk) { return GetKeyState(vk) < 0; });
}
