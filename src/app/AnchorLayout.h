// Keeps a dialog's controls in place when it is resized: each control moves with the right or
// bottom edge, or grows with it, as its anchor says.
#pragma once

#include <windows.h>

#include <vector>

enum TAnchor : unsigned { MoveX = 1, MoveY = 2, SizeX = 4, SizeY = 8 };

struct TAnchorRule {
    int ControlId;
    unsigned Anchor; // TAnchor flags
};

class TAnchorLayout {
public:
    // Takes the current positions as the layout's baseline (again after a DPI change).
    void Capture(HWND dialog, const std::vector<TAnchorRule>& rules);
    // Places every control for the dialog's current client size.
    void Apply() const;

private:
    struct TPlacedControl {
        HWND Control;
        unsigned Anchor;
        RECT Bounds; // in the dialog's client coordinates at capture
    };
    HWND Dialog = nullptr;
    SIZE BaseClient{};
    std::vector<TPlacedControl> Controls;
};
