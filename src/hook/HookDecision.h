// What the keyboard hook does with one key event. Needs no Win32: the questions that cost a call
// into the system (the modifier state, the foreground window, the registry load of the hot keys)
// are asked through `system`, each at most once and only when the answer can change the outcome.
#pragma once

#include <cstdint>

#include "../common/KeyCombos.h"
#include "../common/SharedBlock.h"

enum class THookAction { PassOn, PostHotKey, PostCapture };

struct THookDecision {
    THookAction Action = THookAction::PassOn;
    std::uint32_t Value = 0; // the hot-key index (PostHotKey) or the combination (PostCapture)
};

constexpr bool IsKeyGoingDown(int code, std::intptr_t keyData) {
    return code == 0 && (keyData & 0x80000000) == 0; // HC_ACTION, bit 31 of the key data clear
}

// A low-level hook's event flags as the key data that DecideKey reads: LLKHF_EXTENDED (bit 0)
// becomes bit 24, LLKHF_UP (bit 7) bit 31. Injected keys count like typed ones.
constexpr std::intptr_t KeyDataOfLowLevelFlags(std::uint32_t flags) {
    return static_cast<std::intptr_t>((flags & 0x01) ? 0x01000000 : 0) |
           static_cast<std::intptr_t>((flags & 0x80) ? 0x80000000u : 0);
}

// The modifier keys as the hook saw them go down and up. The hook sees every key event, so its own
// record answers first, and the system-wide key state (a round trip to the system for each key) is
// asked only where the record cannot know: a modifier never seen, or one seen down more than a
// second ago. Under Wine the system's state can lag behind the events that the hook has already
// passed on (a Ctrl held for a moment reads as up), which the record mends; and a release that the
// hook never saw (a key let go on another desktop) cannot leave a modifier stuck for longer than the
// second after which the system is asked again.
class TModifierTrack {
public:
    static constexpr std::uint32_t StaleAfterMs = 1000;

    void Note(std::uint16_t virtualKey, bool extended, bool up, std::uint32_t now) {
        const int slot = Slot(virtualKey, extended);
        if (slot < 0)
            return;
        Known[slot] = true;
        Down[slot] = !up;
        if (!up)
            PressedAt[slot] = now;
    }
    // Whether `modifier` (VkControl, VkMenu, VkShift, VkLWin, VkRWin) is down. `systemDown()` gives
    // the system's answer and is called only where the record cannot know; an answer of "up" is
    // kept, so that it is asked once, not for every key.
    template <class TSystemDown>
    bool IsDown(std::uint16_t modifier, std::uint32_t now, TSystemDown systemDown) {
        bool known = true;
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (ModifierOf(slot) != modifier)
                continue;
            if (Known[slot] && Down[slot] && now - PressedAt[slot] < StaleAfterMs)
                return true;
            known = known && Known[slot] && !Down[slot];
        }
        if (known)
            return false;
        if (systemDown())
            return true;
        for (int slot = 0; slot < SlotCount; ++slot)
            if (ModifierOf(slot) == modifier) {
                Known[slot] = true;
                Down[slot] = false;
            }
        return false;
    }
    // Forgets what was seen: after the hook has been off, events may have passed unseen.
    void Forget() {
        for (bool& known : Known)
            known = false;
    }

private:
    // Left and right twins apart: Shift, Ctrl, Alt (VK_LSHIFT 0xA0 .. VK_RMENU 0xA5), then the Win keys.
    static constexpr int SlotCount = 8;
    static int Slot(std::uint16_t vk, bool extended) {
        if (vk >= VkLShift && vk <= VkRMenu)
            return vk - VkLShift;
        switch (vk) {
        case VkShift:
            return 0;
        case VkControl:
            return extended ? 3 : 2;
        case VkMenu:
            return extended ? 5 : 4;
        case VkLWin:
            return 6;
        case VkRWin:
            return 7;
        }
        return -1;
    }
    static std::uint16_t ModifierOf(int slot) {
        constexpr std::uint16_t modifiers[SlotCount] = {VkShift, VkShift, VkControl, VkControl,
                                                        VkMenu,  VkMenu,  VkLWin,    VkRWin};
        return modifiers[slot];
    }
    bool Known[SlotCount] = {};
    bool Down[SlotCount] = {};
    std::uint32_t PressedAt[SlotCount] = {};
};

// `system` answers:
//   std::uint8_t Modifiers()       the modifier set now down (one read of the key state);
//   bool TargetIsForeground()      the block's target window is the foreground window;
//   bool LoadHotKeys(block)        reads the hot keys into the block; false when a value was unreadable;
//   bool ForegroundProgramExcluded()  the program in front is one whose keys pass on, asked only
//                                     for a key that is a hot key, and never during a capture.
// Almost every key the user types is not the main key of any hot key; while the configuration
// window is not shown such keys, and every key while disabled, are decided from the block alone.
template <class TSystem>
THookDecision DecideKey(int code, std::uintptr_t virtualKeyParam, std::intptr_t keyData,
                        TSharedSettings& block, TSystem& system) {
    if (!IsKeyGoingDown(code, keyData))
        return {};
    const std::uint16_t virtualKey = static_cast<std::uint16_t>(virtualKeyParam & 0xFFFF);
    if (IsModifierKey(virtualKey))
        return {};
    const bool enabled = (block.Disabled ^ 1) != 0;
    if (!block.ConfigWindowShown && block.KeyCombosLoaded) {
        if (!enabled)
            return {};
        bool candidate = false;
        for (std::uint32_t hotKey : block.HotKeys)
            candidate = candidate || TKeyCombo{hotKey}.VirtualKey() == virtualKey;
        if (!candidate)
            return {};
    }

    const TKeyCombo combo = TKeyCombo::Make(virtualKey, (keyData & (1 << 24)) != 0, system.Modifiers());
    if (IsReservedKeyCombo(combo))
        return {};
    if (block.ConfigWindowShown && system.TargetIsForeground())
        return {THookAction::PostCapture, combo.Value};
    if (!enabled)
        return {};
    // Marked loaded before reading, so that no other process starts a second load meanwhile;
    // until the values arrive they read as 0, which never matches a key press.
    if (!block.KeyCombosLoaded) {
        block.KeyCombosLoaded = 1;
        if (!system.LoadHotKeys(block))
            return {};
    }
    for (int index = 0; index < HotKeyCount; ++index)
        if (KeyCombosEqual(TKeyCombo{block.HotKeys[index]}, combo))
            return system.ForegroundProgramExcluded()
                       ? THookDecision{}
                       : THookDecision{THookAction::PostHotKey, static_cast<std::uint32_t>(index)};
    return {};
}
