// The hook's cheap decision against the plain step-by-step one, over random key events, key states,
// shared blocks and registry contents: the same message (or none), the same block afterwards, the
// key state read at most once, and not at all for a key that cannot be a hot key while the
// configuration window is hidden; the foreground program asked about only for a hot key outside a
// capture, at most once.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "hook/HookDecision.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

struct TCase {
    std::uint8_t Shape, Keys, Stored[3]; // Stored: 0 a value, 1 missing, 2 of the wrong type
    std::uint8_t Excluded;               // bit 0: the program in front keeps its keys
    std::uint32_t WParam, RegistryValues[3];
    std::int32_t LParam;
    TSharedSettings Block;
    bool Down(std::uint16_t vk) const {
        static const std::uint8_t keys[] = {0x10, 0x11, 0x12, 0x5B, 0x5C, 0xA2, 0x14, 0x41};
        for (int i = 0; i < 8; ++i)
            if (keys[i] == vk)
                return (Keys >> i) & 1;
        return false;
    }
    bool TargetInFront() const { return (Shape >> 3) & 1; }
    // Stored values, defaults for missing and unreadable ones; false when one was unreadable.
    bool Load(TSharedSettings& block) const {
        for (int i = 0; i < 3; ++i)
            block.HotKeys[i] = Stored[i] % 3 == 0 ? RegistryValues[i] : DefaultKeyCombos[i].Value;
        return Stored[0] % 3 != 2 && Stored[1] % 3 != 2 && Stored[2] % 3 != 2;
    }
};

struct TCountingSystem {
    const TCase& Case;
    int ModifierReads = 0, ForegroundReads = 0, Loads = 0, ExclusionReads = 0;
    std::uint8_t Modifiers() {
        ++ModifierReads;
        return MakePressedKeyCombo(0, false, [this](std::uint16_t vk) { return Case.Down(vk); }).Modifiers();
    }
    bool TargetIsForeground() { return ++ForegroundReads, Case.TargetInFront(); }
    bool LoadHotKeys(TSharedSettings& block) { return ++Loads, Case.Load(block); }
    bool ForegroundProgramExcluded() { return ++ExclusionReads, (Case.Excluded & 1) != 0; }
};

// `hotKey` tells whether the key was found to be a hot key (with the modifiers down).
THookDecision PlainDecision(int code, const TCase& c, TSharedSettings& block, bool& hotKey) {
    hotKey = false;
    if (code != 0 || (c.LParam & 0x80000000) != 0)
        return {};
    const std::uint16_t vk = static_cast<std::uint16_t>(c.WParam);
    if (vk == 0x10 || vk == 0x11 || vk == 0x12 || vk == 0x5B || vk == 0x5C || (vk >= 0xA0 && vk <= 0xA5))
        return {};
    const std::uint32_t modifiers = (c.Down(0x11) ? 1 : 0) | (c.Down(0x12) ? 2 : 0) | (c.Down(0x10) ? 4 : 0) |
                                    (c.Down(0x5B) || c.Down(0x5C) ? 8 : 0);
    const std::uint32_t combo = std::uint32_t{vk} << 16 | ((c.LParam >> 24) & 1) << 8 | modifiers;
    if (IsReservedKeyCombo(TKeyCombo{combo}))
        return {};
    if (block.ConfigWindowShown != 0 && c.TargetInFront())
        return {THookAction::PostCapture, combo};
    if ((block.Disabled ^ 1) == 0)
        return {};
    for (std::uint32_t n = 0; n < 3; ++n) {
        if (!block.KeyCombosLoaded) {
            block.KeyCombosLoaded = 1;
            if (!c.Load(block))
                return {};
        }
        if (block.HotKeys[n] == combo) {
            hotKey = true;
            return (c.Excluded & 1) ? THookDecision{} : THookDecision{THookAction::PostHotKey, n};
        }
    }
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TCase c{};
    std::memcpy(&c, data, size < sizeof c ? size : sizeof c);
    static const int codes[] = {0, 0, 0, 0, 3, -1, 1, 2};
    const int code = codes[c.Shape & 7];
    if ((c.Shape >> 4) & 1) { // mostly real flag values and hot keys, so that every branch is reached
        c.Block.ConfigWindowShown &= 1;
        c.Block.Disabled &= 1;
        c.Block.KeyCombosLoaded &= 1;
        for (std::uint32_t& hotKey : c.Block.HotKeys)
            hotKey &= 0xFFFF010F;
    }
    if ((c.Shape >> 5) & 1) { // often the main key of a hot key, with that hot key's modifiers
        const TKeyCombo hotKey{c.Block.HotKeys[(c.Shape >> 6) % 3]};
        c.WParam = (c.WParam & ~0xFFFFu) | hotKey.VirtualKey();
        c.LParam = (c.LParam & ~(1 << 24)) | (hotKey.Extended() ? 1 << 24 : 0);
        c.Keys = static_cast<std::uint8_t>((c.Keys & 0xE0) | (hotKey.Modifiers() & 3) << 1 |
                                           (hotKey.Modifiers() & 4) >> 2 | (hotKey.Modifiers() & 8));
    }

    TSharedSettings plainBlock = c.Block, cheapBlock = c.Block;
    bool hotKey = false;
    const THookDecision expected = PlainDecision(code, c, plainBlock, hotKey);
    TCountingSystem system{c};
    const THookDecision actual = DecideKey(code, c.WParam, c.LParam, cheapBlock, system);

    Check(actual.Action == expected.Action && actual.Value == expected.Value);
    Check(std::memcmp(&plainBlock, &cheapBlock, sizeof plainBlock) == 0);
    Check(system.ModifierReads <= 1 && system.ForegroundReads <= 1 && system.Loads <= 1);
    Check(system.ExclusionReads == (hotKey ? 1 : 0));
    bool candidate = false;
    for (std::uint32_t hotKey : c.Block.HotKeys)
        candidate = candidate || TKeyCombo{hotKey}.VirtualKey() == static_cast<std::uint16_t>(c.WParam);
    if (!c.Block.ConfigWindowShown && c.Block.KeyCombosLoaded && (!candidate || (c.Block.Disabled ^ 1) == 0))
        Check(system.ModifierReads == 0 && system.ForegroundReads == 0);
    return 0;
}
