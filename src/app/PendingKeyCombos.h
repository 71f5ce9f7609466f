// The hot keys as the user edits them in the configuration window, apart from the ones in force.
// Needs no Win32.
#pragma once

#include <array>

#include "SharedBlock.h"

// Two hot-key indexes that hold the same combination; First < Second when found.
struct TDuplicateHotKeys {
    int First = -1;
    int Second = -1;
    explicit operator bool() const { return First >= 0; }
};

struct TPendingKeyCombos {
    std::array<TKeyCombo, HotKeyCount> Combos{};

    void Reset();
    // The first equal pair in the order (0, 1), (0, 2), (1, 2).
    TDuplicateHotKeys FindDuplicate() const;
};
