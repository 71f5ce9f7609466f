#include "AnchorLayout.h"

void TAnchorLayout::Capture(HWND dialog, const std::vector<TAnchorRule>& rules) {
    Dialog = dialog;
    Controls.clear();
    RECT client{};
    GetClientRect(dialog, &client);
    BaseClient = {client.right, client.bottom};
    for (const TAnchorRule& rule : rules) {
        HWND control = GetDlgItem(dialog, rule.ControlId);
        if (!control)
            continue;
        RECT bounds{};
        GetWindowRect(control, &bounds);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bounds), 2);
        Controls.push_back({control, rule.Anchor, bounds});
    }
}

void TAnchorLayout::Apply() const {
    if (!Dialog || Controls.empty())
        return;
    RECT client{};
    GetClientRect(Dialog, &client);
    const int dx = client.right - BaseClient.cx;
    const int dy = client.bottom - BaseClient.cy;
    HDWP positions = BeginDeferWindowPos(static_cast<int>(Controls.size()));
    for (const TPlacedControl& placed : Controls) {
        RECT bounds = placed.Bounds;
        if (placed.Anchor & MoveX)
            OffsetRect(&bounds, dx, 0);
        if (placed.Anchor & MoveY)
            OffsetRect(&bounds, 0, dy);
        if (placed.Anchor & SizeX)
            bounds.right += dx;
        if (placed.Anchor & SizeY)
            bounds.bottom += dy;
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (positions)
            positions = DeferWindowPos(positions, placed.Control, nullptr, bounds.left, bounds.top,
                                       bounds.right - bounds.left, bounds.bottom - bounds.top, flags);
        else
            SetWindowPos(placed.Control, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                         bounds.bottom - bounds.top, flags);
    }
    if (positions)
        EndDeferWindowPos(positions);
    // Group boxes and check boxes that moved leave their old image behind without this.
    InvalidateRect(Dialog, nullptr, TRUE);
}
