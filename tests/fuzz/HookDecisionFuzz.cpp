// The hook's cheap decision against the plain one of the hook's definition, over random key events,
// key states, shared blocks and registry contents: both must post the same message (or none),
// swallow the same keys and leave the block alike; the cheap one reads the key state at most once,
// and never for a key that cannot be a hot key while the configuration window is hidden.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "hook/HookDecision.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// Reads the fuzz input from the front; zeros once it is used up.
struct TInput {
    const std::uint8_t* Data;
    std::size_t Size;
    template <class T> T Take() {
        T value{};
        const std::size_t n = Size < sizeof value ? Size : sizeof value;
        std::memcpy(&value, Data, n);
        Data += n;
        Size -= n;
        return value;
    }
};

enum TStored : std::uint8_t { Stored, Missing, Unreadable };

// What the system would answer: key states, foreground, registry values of the hot keys.
struct TWorld {
    bool Down[256] = {};
    bool TargetInFront = false;
    TStored Registry[3] = {};
    std::uint32_t RegistryValues[3] = {};
};

// Loads like the settings store: stored values, defaults for missing and unreadable ones.
bool LoadFromRegistry(const TWorld& world, TSharedSettings& block) {
    bool readable = true;
    for (int i = 0; i < 3; ++i) {
        block.HotKeys[i] = world.Registry[i] == Stored ? world.RegistryValues[i] : DefaultKeyCombos[i].Value;
        readable = readable && world.Registry[i] != Unreadable;
    }
    return readable;
}

struct TCountingSystem {
    const TWorld& World;
    int ModifierReads = 0, ForegroundReads = 0, Loads = 0;
    std::uint8_t Modifiers() {
        ++ModifierReads;
        return MakePressedKeyCombo(0, false, [this](std::uint16_t vk) { return World.Down[vk & 0xFF]; })
            .Modifiers();
    }
    bool TargetIsForeground() {
        ++ForegroundReads;
        return World.TargetInFront;
    }
    bool LoadHotKeys(TSharedSettings& block) {
        ++Loads;
        return LoadFromRegistry(World, block);
    }
};

// The decision step by step as defined: one key-state read per modifier key, the hot keys read
// through the lazy load, the first unreadable value ending the call with the key passed on.
THookDecision PlainDecision(int code, std::uintptr_t wParam, std::intptr_t lParam, TSharedSettings& block,
                            const TWorld& world) {
    if (code != 0 || (lParam & 0x80000000) != 0)
        return {};
    const std::uint16_t vk = static_cast<std::uint16_t>(wParam);
    if (vk == 0x10 || vk == 0x11 || vk == 0x12 || vk == 0x5B || vk == 0x5C)
        return {};
    std::uint8_t modifiers = 0;
    if (world.Down[0x11])
        modifiers |= 1;
    if (world.Down[0x12])
        modifiers |= 2;
    if (world.Down[0x10])
        modifiers |= 4;
    if (world.Down[0x5B] || world.Down[0x5C])
        modifiers |= 8;
    const std::uint32_t combo = static_cast<std::uint32_t>(vk) << 16 | ((lParam >> 24) & 1) << 8 | modifiers;
    if (IsReservedKeyCombo(TKeyCombo{combo}))
        return {};
    if (block.ConfigWindowShown != 0 && world.TargetInFront)
        return {THookAction::PostCapture, combo};
    if ((block.Disabled ^ 1) == 0)
        return {};
    for (std::uint32_t n = 0; n < 3; ++n) {
        if (!block.KeyCombosLoaded) {
            block.KeyCombosLoaded = 1;
            if (!LoadFromRegistry(world, block))
                return {};
        }
        if (block.HotKeys[n] == combo)
            return {THookAction::PostHotKey, n};
    }
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TInput input{data, size};
    const std::uint8_t shape = input.Take<std::uint8_t>();
    static const int codes[] = {0, 0, 0, 0, 3, -1, 1, 2};
    const int code = codes[shape & 7];
    std::uintptr_t wParam = input.Take<std::uint32_t>();
    std::intptr_t lParam = input.Take<std::int32_t>();

    TWorld world;
    const std::uint8_t keys = input.Take<std::uint8_t>();
    static const std::uint8_t keyCodes[] = {0x10, 0x11, 0x12, 0x5B, 0x5C, 0xA2, 0x14, 0x41};
    for (int i = 0; i < 8; ++i)
        world.Down[keyCodes[i]] = (keys >> i) & 1;
    world.TargetInFront = (shape >> 3) & 1;
    for (int i = 0; i < 3; ++i) {
        world.Registry[i] = static_cast<TStored>(input.Take<std::uint8_t>() % 3);
        world.RegistryValues[i] = input.Take<std::uint32_t>();
    }

    TSharedSettings block = input.Take<TSharedSettings>();
    // Mostly the flags' real values, so that every branch is reached often.
    if ((shape >> 4) & 1) {
        block.ConfigWindowShown &= 1;
        block.Disabled &= 1;
        block.KeyCombosLoaded &= 1;
        for (std::uint32_t& hotKey : block.HotKeys)
            hotKey &= 0xFFFF010F; // a modifier set and an extended flag as the hook builds them
    }
    // Often a key that is the main key of a hot key, pressed with that hot key's modifiers.
    if ((shape >> 5) & 1) {
        const TKeyCombo hotKey{block.HotKeys[(shape >> 6) % 3]};
        wParam = (wParam & ~std::uintptr_t{0xFFFF}) | hotKey.VirtualKey();
        lParam = (lParam & ~std::intptr_t{1 << 24}) | (hotKey.Extended() ? 1 << 24 : 0);
        for (int i = 0; i < 4; ++i)
            world.Down[ModifierKeys[i]] = (hotKey.Modifiers() >> i) & 1;
    }

    TSharedSettings plainBlock = block, cheapBlock = block;
    const THookDecision expected = PlainDecision(code, wParam, lParam, plainBlock, world);
    TCountingSystem system{world};
    const THookDecision actual = DecideKey(code, wParam, lParam, cheapBlock, system);

    Check(actual.Action == expected.Action && actual.Value == expected.Value);
    Check(std::memcmp(&plainBlock, &cheapBlock, sizeof block) == 0);
    Check(system.ModifierReads <= 1 && system.ForegroundReads <= 1 && system.Loads <= 1);
    const std::uint16_t vk = static_cast<std::uint16_t>(wParam);
    bool candidate = false;
    for (std::uint32_t hotKey : block.HotKeys)
        candidate = candidate || TKeyCombo{hotKey}.VirtualKey() == vk;
    if (!block.ConfigWindowShown && block.KeyCombosLoaded && (!candidate || (block.Disabled ^ 1) == 0))
        Check(system.ModifierReads == 0 && system.ForegroundReads == 0);
    return 0;
}
