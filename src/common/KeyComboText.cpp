// The text form of a key combination. Kept apart from KeyCombos.cpp, which the hook library
// compiles without the C++ runtime and therefore without strings.
#include "KeyCombos.h"

std::string KeyComboToText(TKeyCombo combo, TKeyNameFunction keyName) {
    std::string text;
    for (int i = 0; i < 4; ++i) {
        if (combo.Modifiers() & (1u << i)) {
            text += keyName(ModifierKeys[i], false);
            text += " + ";
        }
    }
    text += keyName(combo.VirtualKey(), combo.Extended());
    return text;
}
