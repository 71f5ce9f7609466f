#include "PendingKeyCombos.h"

void TPendingKeyCombos::Reset() {
    for (int i = 0; i < HotKeyCount; ++i)
        Combos[i] = DefaultKeyCombos[i];
}

TDuplicateHotKeys TPendingKeyCombos::FindDuplicate() const {
    for (int i = 0; i < HotKeyCount; ++i)
        for (int j = i + 1; j < HotKeyCount; ++j)
            if (KeyCombosEqual(Combos[i], Combos[j]))
                return {i, j};
    return {};
}
