#include "KeyCombos.h"

const std::uint16_t ModifierKeys[4] = {VkControl, VkMenu, VkShift, VkLWin};

// Combinations that belong to the system or to editing; never a hot key, never captured.
const TKeyCombo ReservedKeyCombos[ReservedKeyComboCount] = {
    {0x001B0001}, // Ctrl + Esc
    {0x00730001}, // Ctrl + F4
    {0x001B0002}, // Alt + Esc
    {0x00730002}, // Alt + F4
    {0x002E0003}, // Ctrl + Alt + Delete
    {0x00090002}, // Alt + Tab
    {0x00090006}, // Alt + Shift + Tab
    {0x00090004}, // Shift + Tab
    {0x00090001}, // Ctrl + Tab
    {0x00090005}, // Ctrl + Shift + Tab
    {0x00130001}, // Ctrl + Pause
    {0x00450008}, // Win + E
    {0x00520008}, // Win + R
    {0x00460008}, // Win + F
    {0x004C0008}, // Win + L
    {0x00550008}, // Win + U
    {0x00440008}, // Win + D
    {0x00420008}, // Win + B
    {0x004D0008}, // Win + M
    {0x00580001}, // Ctrl + X
    {0x00430001}, // Ctrl + C
    {0x00560001}, // Ctrl + V
};

bool KeyCombosEqual(TKeyCombo a, TKeyCombo b) {
    return a.Value == b.Value;
}

bool IsModifierKey(std::uint32_t virtualKey) {
    const std::uint16_t vk = static_cast<std::uint16_t>(virtualKey);
    for (std::uint16_t modifier : ModifierKeys)
        if (vk == modifier)
            return true;
    // A low-level hook names the left and right keys apart: VK_LSHIFT 0xA0 to VK_RMENU 0xA5.
    return vk == VkRWin || (vk >= VkLShift && vk <= VkRMenu);
}

bool IsReservedKeyCombo(TKeyCombo combo) {
    const std::uint8_t modifiers = combo.Modifiers();
    if (modifiers == 0 || modifiers == ModShift)
        return true;
    for (TKeyCombo reserved : ReservedKeyCombos)
        if (KeyCombosEqual(combo, reserved))
            return true;
    return false;
}

TKeyEventSequence KeyComboEvents(TKeyCombo combo, bool press) {
    TKeyEventSequence sequence;
    auto add = [&sequence](std::uint16_t vk, std::uint32_t flags) {
        sequence.Events[sequence.Count++] = TKeyEvent{static_cast<std::uint8_t>(vk & 0xFF), flags};
    };
    const std::uint32_t flags = press ? 0 : KeyEventKeyUp;
    for (int i = 0; i < 4; ++i) {
        if (!(combo.Modifiers() & (1u << i)))
            continue;
        add(ModifierKeys[i], flags);
        // On release, let go of the right-hand twin as well, whichever of the two the user holds.
        if (!press) {
            if (ModifierKeys[i] == VkLWin)
                add(VkRWin, KeyEventKeyUp);
            else
                add(ModifierKeys[i], KeyEventKeyUp | KeyEventExtendedKey);
        }
    }
    add(combo.VirtualKey(), flags | (combo.Extended() ? KeyEventExtendedKey : 0));
    return sequence;
}
