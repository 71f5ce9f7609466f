// Mapping the shared block and loading its hot keys, without allocating or raising: the program
// wraps these in ASettings, and the hook library, which has no C++ runtime, calls them directly.
#pragma once

#include <windows.h>

#include "RegRead.h"
#include "SharedBlock.h"

// Creates or opens the named block and maps it; the process that created it zeroes it. Null, with
// nothing left open, when either step fails; `mapping` then is null as well.
TSharedSettings* MapSharedBlock(HANDLE& mapping);

// The registry value name of a hot key: "KeyCombo0".."KeyCombo2".
struct TKeyComboValueName {
    char Text[10] = "KeyCombo?";
    explicit TKeyComboValueName(int index) { Text[8] = static_cast<char>('0' + index); }
};

struct TKeyComboLoad {
    int FailedIndex = -1; // the first hot key whose value could not be read, or -1
    TRegRead Failure = TRegRead::Read;
};

// Reads the three hot keys into the block. A value that cannot be read leaves its hot key at the
// default rather than at 0, which would switch it off for every process until the block is gone.
TKeyComboLoad LoadKeyCombos(TSharedSettings& block);
