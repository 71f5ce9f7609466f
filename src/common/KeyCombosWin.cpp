// The Win32 calls behind key combinations: key names of the active layout, key state, synthesis.
#include <windows.h>

#include <vector>

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

void SendKeyCombos(const TKeyComboStep* steps, std::size_t count) {
    std::vector<INPUT> inputs;
    for (std::size_t step = 0; step < count; ++step) {
        const TKeyEventSequence sequence = KeyComboEvents(steps[step].Combo, steps[step].Press);
        for (std::size_t i = 0; i < sequence.Count; ++i) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = sequence.Events[i].VirtualKey;
            input.ki.dwFlags = (sequence.Events[i].Flags & KeyEventKeyUp ? KEYEVENTF_KEYUP : 0) |
                               (sequence.Events[i].Flags & KeyEventExtendedKey ? KEYEVENTF_EXTENDEDKEY : 0);
            inputs.push_back(input);
        }
    }
    if (!inputs.empty())
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void SendKeyCombo(TKeyCombo combo, bool press) {
    const TKeyComboStep step{combo, press};
    SendKeyCombos(&step, 1);
}

bool WaitForModifiersUp(TKeyCombo combo, unsigned milliseconds) {
    const auto held = [combo] {
        for (int i = 0; i < 4; ++i)
            if ((combo.Modifiers() & (1u << i)) && GetAsyncKeyState(ModifierKeys[i]) < 0)
                return true;
        return false;
    };
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (held()) {
        if (GetTickCount64() >= end)
            return false;
        // Messages sent to the program's windows meanwhile (the clipboard chain's) are answered.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_SENDMESSAGE);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    return true;
}

TKeyCombo GetPressedKeyCombo(std::uint16_t virtualKey, bool extended) {
    return MakePressedKeyCombo(virtualKey, extended, [](std::uint16_t vk) { return GetKeyState(vk) < 0; });
}
