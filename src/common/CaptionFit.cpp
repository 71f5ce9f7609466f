#include "CaptionFit.h"

#include <algorithm>
#include <string>

#include "ControlText.h"

namespace {

enum class TCaption { None, Text, Link, Check, Group, Push };

TCaption CaptionOf(HWND control) {
    char name[16] = "";
    GetClassNameA(control, name, sizeof name);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    if (!lstrcmpiA(name, "Static")) {
        const LONG type = style & SS_TYPEMASK;
        return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_LEFTNOWORDWRAP
                   ? TCaption::Text
                   : TCaption::None;
    }
    if (!lstrcmpiA(name, "SysLink"))
        return TCaption::Link;
    if (lstrcmpiA(name, "Button"))
        return TCaption::None;
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return TCaption::Check;
    case BS_GROUPBOX:
        return TCaption::Group;
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        return TCaption::Push;
    }
    return TCaption::None;
}

// What a caption shows: a link label without its tags; "&" marks the next letter elsewhere,
// unless the static text takes it literally.
std::wstring ShownText(HWND control, TCaption caption) {
    const std::wstring text = ControlWideText(control);
    std::wstring shown;
    bool inTag = false;
    const bool prefixes = caption != TCaption::Link &&
                          !(caption == TCaption::Text && (GetWindowLongA(control, GWL_STYLE) & SS_NOPREFIX));
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (caption == TCaption::Link && (text[at] == L'<' || inTag)) {
            inTag = text[at] != L'>';
            continue;
        }
        if (prefixes && text[at] == L'&' && ++at == text.size())
            break;
        shown += text[at];
    }
    return shown;
}

// Room beside the text: the box of a check box or radio button, a button's or group box's edges.
int DialogUnitsBeside(TCaption caption) {
    switch (caption) {
    case TCaption::Check:
        return 14;
    case TCaption::Group:
        return 12;
    case TCaption::Push:
        return 8;
    default:
        return 1;
    }
}

// A DC of the control with the control's own font selected; restored and released on every path.
class TControlDC {
public:
    explicit TControlDC(HWND control)
        : Control(control), DC(GetDC(control)),
          OldFont(SelectObject(DC, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)))) {}
    TControlDC(const TControlDC&) = delete;
    TControlDC& operator=(const TControlDC&) = delete;
    ~TControlDC() {
        SelectObject(DC, OldFont);
        ReleaseDC(Control, DC);
    }
    SIZE Extent(const std::wstring& text) const {
        RECT bounds{};
        DrawTextW(DC, text.c_str(), static_cast<int>(text.size()), &bounds,
                  DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        return {bounds.right - bounds.left, bounds.bottom - bounds.top};
    }

private:
    HWND Control;
    HDC DC;
    HGDIOBJ OldFont;
};

void FitCaption(HWND dialog, HWND control, TCaption caption) {
    const std::wstring text = ShownText(control, caption);
    if (text.empty())
        return;
    RECT bounds{}, dialogArea{}, beside{0, 0, DialogUnitsBeside(caption), 0};
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bounds), 2);
    GetClientRect(dialog, &dialogArea);
    MapDialogRect(dialog, &beside);
    const SIZE extent = TControlDC(control).Extent(text);
    const LONG needed = extent.cx + beside.right, height = bounds.bottom - bounds.top;
    // A text of several lines wraps by design; only a one-line text is widened.
    const bool wraps = (caption == TCaption::Text || caption == TCaption::Link) && height >= 2 * extent.cy;
    if (needed <= bounds.right - bounds.left || wraps)
        return;
    if (caption == TCaption::Text && (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_RIGHT)
        bounds.left = std::max(dialogArea.left, bounds.right - needed);
    else
        bounds.right = std::min(dialogArea.right, bounds.left + needed);
    SetWindowPos(control, nullptr, bounds.left, bounds.top, bounds.right - bounds.left, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

void FitCaptions(HWND dialog) {
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
        if (const TCaption caption = CaptionOf(control); caption != TCaption::None)
            FitCaption(dialog, control, caption);
}

void FitListExtent(HWND list) {
    const TControlDC dc(list);
    LONG widest = 0;
    // Wide: the lines are link descriptions in any script.
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT line = 0; line < count; ++line) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(line), 0);
        if (length == LB_ERR)
            continue;
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        widest = std::max(widest, dc.Extent(text).cx);
    }
    // A few pixels for the margin that the list keeps at the left of each line.
    SendMessageA(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 4), 0);
}
