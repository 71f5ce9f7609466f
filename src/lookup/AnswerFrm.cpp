#include "AnswerFrm.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "AnswerFrmRes.h"
#include "ErrorBox.h"
#include "LookupText.h"
#include "UnicodeText.h"
#include "WinApiHacks.h"

namespace {

constexpr const wchar_t* AnswerFormClass = L"TAnswerForm";
// How long the window waits, after losing the foreground, before it takes that for the user's
// click elsewhere: Wine moves the foreground back and forth for a moment while a window takes it.
constexpr UINT DeactivatedTimerId = 1, DeactivatedWaitMs = 150;
// The largest window at 96 DPI, and the text's padding inside its control.
constexpr int MaxWidth96 = 480, MaxHeight96 = 360, Padding96 = 6;

TAnswerForm* OpenForm = nullptr;

using TModule = TOwnedHandle<HMODULE, FreeLibrary>;

// The text control's class: the newest rich edit the system has (bold headwords, selection and
// copying as in any document), a plain multi-line edit where there is none.
const wchar_t* TextControlClass(bool& rich) {
    static TModule library;
    static const wchar_t* controlClass = nullptr;
    if (!controlClass) {
        if ((library = TModule(LoadLibraryW(L"Msftedit.dll"))).Get())
            controlClass = MSFTEDIT_CLASS;
        else if ((library = TModule(LoadLibraryW(L"Riched20.dll"))).Get())
            controlClass = RICHEDIT_CLASSW;
        else
            controlClass = L"EDIT";
    }
    rich = controlClass != std::wstring(L"EDIT");
    return controlClass;
}

bool RegisterAnswerClass(HINSTANCE instance) {
    // The template names this class; the dialog manager needs its extra bytes and procedure.
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefDlgProcW;
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = AnswerFormClass;
    return RegisterClassExW(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// GetDpiForMonitor exists from Windows 8.1 on; before, every monitor has the screen's DPI.
int MonitorDpi(HMONITOR monitor) {
    using TGetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static TModule shcore(LoadLibraryW(L"shcore.dll"));
    static const auto getDpiForMonitor =
        shcore.Get() ? reinterpret_cast<TGetDpiForMonitor>(
                           reinterpret_cast<void*>(GetProcAddress(shcore.Get(), "GetDpiForMonitor")))
                     : nullptr;
    UINT x = 0, y = 0;
    if (getDpiForMonitor && getDpiForMonitor(monitor, 0, &x, &y) == S_OK && x > 0)
        return static_cast<int>(x);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

TScreenBox BoxOf(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// Where the word is on the screen: the caret of the source's thread, or the pointer.
TScreenBox WordAnchor(HWND source) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (source && GetGUIThreadInfo(GetWindowThreadProcessId(source, nullptr), &thread) && thread.hwndCaret &&
        thread.rcCaret.bottom > thread.rcCaret.top) {
        RECT caret = thread.rcCaret;
        MapWindowPoints(thread.hwndCaret, nullptr, reinterpret_cast<POINT*>(&caret), 2);
        return BoxOf(caret);
    }
    POINT pointer{};
    GetCursorPos(&pointer);
    const HMONITOR monitor = MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST);
    // Below the pointer's own picture, not under it.
    return {pointer.x, pointer.y, pointer.x + 1, pointer.y + MulDiv(20, MonitorDpi(monitor), 96)};
}

// The dialog manager selects the whole text of an edit that gets the focus from it (on activation
// too): the text control tells it that it has no such selection to offer.
LRESULT CALLBACK TextControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR) {
    const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
    return message == WM_GETDLGCODE ? result & ~static_cast<LRESULT>(DLGC_HASSETSEL) : result;
}

HFONT VariantOf(HFONT font, LONG weight, bool italic, int sizeNumerator, int sizeDenominator) {
    LOGFONTW face{};
    GetObjectW(font, sizeof face, &face);
    face.lfWeight = weight;
    face.lfItalic = italic ? TRUE : FALSE;
    face.lfHeight = MulDiv(face.lfHeight, sizeNumerator, sizeDenominator);
    return CreateFontIndirectW(&face);
}

} // namespace

HWND TAnswerForm::ShowAnswer(HINSTANCE instance, const TAnswer& answer, HWND source, TAction onWebLookup,
                             TAction onMoreLinks) {
    TAnswerForm* form = OpenForm;
    if (!form) {
        if (!RegisterAnswerClass(instance))
            return nullptr;
        form = new TAnswerForm;
        // A Unicode dialog, so that its text control shows every script.
        if (!CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_ANSWERFORM), nullptr, DialogProc,
                                reinterpret_cast<LPARAM>(form))) {
            // WM_NCDESTROY frees a form whose window existed; this one never had one.
            if (!form->Window)
                delete form;
            return nullptr;
        }
    }
    const bool fromItself = source && GetAncestor(source, GA_ROOT) == form->Window;
    if (!fromItself)
        form->Source = source;
    form->OnWebLookup = std::move(onWebLookup);
    form->OnMoreLinks = std::move(onMoreLinks);
    form->SetContent(answer);

    RECT now{};
    GetWindowRect(form->Window, &now);
    const TScreenBox anchor =
        fromItself ? TScreenBox{now.left, now.top, now.left + 1, now.top} : WordAnchor(source);
    const SIZE size = form->LayOut(anchor);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT anchorRect{anchor.Left, anchor.Top, anchor.Right, anchor.Bottom};
    GetMonitorInfoW(MonitorFromRect(&anchorRect, MONITOR_DEFAULTTONEAREST), &monitor);
    const TScreenBox place = PlaceAnswerWindow(anchor, size.cx, size.cy, BoxOf(monitor.rcWork));
    SetWindowPos(form->Window, nullptr, place.Left, place.Top, place.Width(), place.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);

    ShowWindow(form->Window, SW_SHOW);
    ForceForegroundWindow(form->Window);
    SetFocus(form->Text);
    return form->Window;
}

HWND TAnswerForm::Current() {
    return OpenForm ? OpenForm->Window : nullptr;
}

void TAnswerForm::CloseAll() {
    if (OpenForm)
        DestroyWindow(OpenForm->Window);
}

bool TAnswerForm::PreTranslateMessage(MSG& message) {
    if (!OpenForm || !message.hwnd || GetAncestor(message.hwnd, GA_ROOT) != OpenForm->Window)
        return false;
    // A multi-line edit takes Escape for itself; here it closes the window, as the user expects.
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
        OpenForm->Close(true);
        return true;
    }
    return IsDialogMessageW(OpenForm->Window, &message) != FALSE;
}

INT_PTR CALLBACK TAnswerForm::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* form = reinterpret_cast<TAnswerForm*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        form->Window = window;
        OpenForm = form;
        try {
            form->FormCreate();
        } catch (...) {
            ShowCaughtError(window);
        }
        return FALSE; // the focus is placed when the answer is shown
    }
    auto* form = reinterpret_cast<TAnswerForm*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!form)
        return FALSE;
    if (message == WM_NCDESTROY) {
        // The last message the window sees: only now may its object go.
        SetWindowLongPtrW(window, DWLP_USER, 0);
        if (OpenForm == form)
            OpenForm = nullptr;
        delete form;
        return FALSE;
    }
    try {
        switch (message) {
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
            case IDC_WEBLOOKUPBUTTON:
                form->RunAfterClose(form->OnWebLookup);
                return TRUE;
            case IDC_MORELINKSBUTTON:
                form->RunAfterClose(form->OnMoreLinks);
                return TRUE;
            case IDCANCEL:
                form->Close(true);
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            form->Close(true);
            return TRUE;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE)
                SetTimer(window, DeactivatedTimerId, DeactivatedWaitMs, nullptr);
            else
                KillTimer(window, DeactivatedTimerId);
            return FALSE; // the dialog manager keeps the focus of its controls
        case WM_TIMER:
            if (wParam != DeactivatedTimerId)
                return FALSE;
            KillTimer(window, DeactivatedTimerId);
            form->FormDeactivated();
            return TRUE;
        }
    } catch (...) {
        // The window may be gone by now (an action after its close failed).
        ShowCaughtError(IsWindow(window) ? window : nullptr);
    }
    return FALSE;
}

void TAnswerForm::FormCreate() {
    const wchar_t* controlClass = TextControlClass(RichText);
    DWORD style =
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL;
    if (RichText)
        style |= ES_NOHIDESEL;
    Text = CreateWindowExW(0, controlClass, L"", style, 0, 0, 10, 10, Window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_ANSWERTEXT)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(Window, GWLP_HINSTANCE)), nullptr);
    SetWindowSubclass(Text, TextControlProc, 0, 0);
    // First in the tab order: the keys scroll and select the text.
    SetWindowPos(Text, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(Window, WM_GETFONT, 0, 0));
    SendMessageW(Text, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    BoldFont = TGdiObject(VariantOf(font, FW_BOLD, false, 1, 1));
    HeadingFont = TGdiObject(VariantOf(font, FW_BOLD, false, 5, 4));
    NoticeFont = TGdiObject(VariantOf(font, FW_NORMAL, true, 1, 1));
    if (RichText) {
        // Long definitions: a rich edit holds 32767 characters unless told otherwise.
        SendMessageW(Text, EM_EXLIMITTEXT, 0, 4 * MaxAnswerBytes);
        SendMessageW(Text, EM_SETEVENTMASK, 0, 0);
    } else {
        SendMessageW(Text, EM_SETLIMITTEXT, 4 * MaxAnswerBytes, 0);
    }
}

void TAnswerForm::SetContent(const TAnswer& answer) {
    Paragraphs = answer.Paragraphs;
    SetWindowTextW(Window, Utf16FromUtf8(answer.Word).c_str());
    SetDlgItemTextW(Window, IDC_WEBLOOKUPBUTTON,
                    Utf16FromUtf8("Look up on " + LinkMenuCaption(answer.WebLinkDescription)).c_str());
}

void TAnswerForm::FillText() {
    // The whole text at once, then the formats of the few paragraphs that are not plain: each
    // change of a rich edit's text lays out what follows it again.
    SendMessageW(Text, WM_SETREDRAW, FALSE, 0);
    SetWindowTextW(Text, Utf16FromUtf8(AnswerPlainText(Paragraphs)).c_str());
    if (RichText) {
        CHARFORMAT2W base{};
        base.cbSize = sizeof base;
        SendMessageW(Text, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&base));
        LONG at = 0;
        for (const TAnswerParagraph& paragraph : Paragraphs) {
            // The control keeps each line end as one character.
            const std::wstring text = Utf16FromUtf8(paragraph.Text);
            LONG length = static_cast<LONG>(text.size());
            for (std::size_t end = text.find(L"\r\n"); end != std::wstring::npos;
                 end = text.find(L"\r\n", end + 2))
                --length;
            CHARFORMAT2W format{};
            format.cbSize = sizeof format;
            format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_SIZE;
            format.yHeight = base.yHeight;
            switch (paragraph.Style) {
            case TAnswerStyle::Heading:
                format.dwEffects = CFE_BOLD;
                format.yHeight = base.yHeight * 5 / 4;
                break;
            case TAnswerStyle::Headword:
                format.dwEffects = CFE_BOLD;
                break;
            case TAnswerStyle::Notice:
                format.dwEffects = CFE_ITALIC;
                break;
            default:
                format.dwMask = 0;
                break;
            }
            if (format.dwMask && length > 0) {
                CHARRANGE range{at, at + length};
                SendMessageW(Text, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
                SendMessageW(Text, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
            }
            at += length + 1;
        }
        CHARRANGE start{0, 0};
        SendMessageW(Text, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    }
    SendMessageW(Text, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Text, nullptr, TRUE);
}

SIZE TAnswerForm::LayOut(const TScreenBox& anchor) {
    RECT anchorRect{anchor.Left, anchor.Top, anchor.Right, anchor.Bottom};
    const int dpi = MonitorDpi(MonitorFromRect(&anchorRect, MONITOR_DEFAULTTONEAREST));
    const int padding = MulDiv(Padding96, dpi, 96), scrollBar = GetSystemMetrics(SM_CXVSCROLL);
    // Spacing in dialog units, so that it grows with the font as the buttons do.
    RECT units{4, 4, 50, 14};
    MapDialogRect(Window, &units);
    const int gap = units.left, buttonHeight = units.bottom;
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(Window, GWL_STYLE)),
                exStyle = static_cast<DWORD>(GetWindowLongPtrW(Window, GWL_EXSTYLE));
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int frameWidth = frame.right - frame.left, frameHeight = frame.bottom - frame.top;

    // The buttons as wide as their captions need.
    HDC dc = GetDC(Window);
    const auto normalFont = reinterpret_cast<HFONT>(SendMessageW(Window, WM_GETFONT, 0, 0));
    const HGDIOBJ before = SelectObject(dc, normalFont);
    const auto buttonWidth = [&](int id) {
        wchar_t caption[512] = L"";
        GetDlgItemTextW(Window, id, caption, 512);
        RECT box{0, 0, 0, 0};
        DrawTextW(dc, caption, -1, &box, DT_CALCRECT | DT_SINGLELINE);
        return std::max<int>(units.right, box.right + 2 * gap);
    };
    const int webWidth = buttonWidth(IDC_WEBLOOKUPBUTTON), moreWidth = buttonWidth(IDC_MORELINKSBUTTON);

    // The text's natural width, its lines unbroken, then its height broken at the width it gets.
    const auto fontOf = [&](TAnswerStyle style) -> HGDIOBJ {
        switch (style) {
        case TAnswerStyle::Heading:
            return HeadingFont.Get();
        case TAnswerStyle::Headword:
            return BoldFont.Get();
        case TAnswerStyle::Notice:
            return NoticeFont.Get();
        default:
            return normalFont;
        }
    };
    const auto measure = [&](const TAnswerParagraph& paragraph, int width) {
        SelectObject(dc, fontOf(paragraph.Style));
        const std::wstring text = Utf16FromUtf8(paragraph.Text.empty() ? std::string(" ") : paragraph.Text);
        RECT box{0, 0, width, 0};
        const UINT flags =
            DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (width ? DT_WORDBREAK | DT_EDITCONTROL : 0);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, flags);
        return box;
    };
    const int maxWidth = MulDiv(MaxWidth96, dpi, 96), maxHeight = MulDiv(MaxHeight96, dpi, 96);
    const int buttonsWidth = webWidth + moreWidth + 3 * gap;
    // Room that is not text: the padding on both sides, the scroll bar's place, a little slack for
    // the control's own rounding.
    const int chrome = 2 * padding + scrollBar + MulDiv(4, dpi, 96);
    int textWidth = 0;
    for (const TAnswerParagraph& paragraph : Paragraphs)
        textWidth = std::max<int>(textWidth, measure(paragraph, 0).right);
    const int clientWidth = std::max(buttonsWidth, std::min(maxWidth - frameWidth, textWidth + chrome));
    textWidth = clientWidth - chrome;
    int textHeight = 0;
    if (!RichText)
        for (const TAnswerParagraph& paragraph : Paragraphs)
            textHeight += measure(paragraph, textWidth).bottom;
    SelectObject(dc, before);
    ReleaseDC(Window, dc);

    const int footHeight = buttonHeight + 2 * gap;
    const int largestBox = maxHeight - frameHeight - footHeight;
    // A rich edit lays its text out in its own way (paragraph spacing, the larger heading): at its
    // final width, it says how high the text is.
    const auto placeText = [&](int height) {
        MoveWindow(Text, 0, 0, clientWidth, height, FALSE);
        if (RichText) {
            RECT inner{padding, padding, clientWidth - padding - scrollBar, height - padding};
            SendMessageW(Text, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&inner));
        } else {
            SendMessageW(Text, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(padding, padding));
        }
    };
    // The text goes in at its final width, so that it is laid out once; the previous answer's
    // text must not be laid out again first.
    SetWindowTextW(Text, L"");
    placeText(largestBox);
    FillText();
    int textBoxHeight = std::min(largestBox, textHeight + 2 * padding);
    if (RichText && !Paragraphs.empty()) {
        // Where the control itself puts the last character, and that character's line below it.
        GETTEXTLENGTHEX count{GTL_NUMCHARS | GTL_PRECISE, 1200};
        const auto length = SendMessageW(Text, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&count), 0);
        POINTL last{0, -1};
        SendMessageW(Text, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&last), std::max<LRESULT>(length - 1, 0));
        TEXTMETRICW metrics{};
        HDC textDc = GetDC(Text);
        const HGDIOBJ previous = SelectObject(textDc, fontOf(Paragraphs.back().Style));
        GetTextMetricsW(textDc, &metrics);
        SelectObject(textDc, previous);
        ReleaseDC(Text, textDc);
        if (last.y >= 0)
            textBoxHeight = std::min<int>(largestBox, last.y + metrics.tmHeight + padding + 2);
    }
    const int clientHeight = textBoxHeight + footHeight;
    placeText(textBoxHeight);
    // Measured and shrunk, the control may have scrolled: the answer is read from its start.
    SendMessageW(Text, WM_VSCROLL, SB_TOP, 0);
    const int buttonTop = textBoxHeight + gap;
    MoveWindow(GetDlgItem(Window, IDC_MORELINKSBUTTON), clientWidth - gap - moreWidth, buttonTop, moreWidth,
               buttonHeight, FALSE);
    MoveWindow(GetDlgItem(Window, IDC_WEBLOOKUPBUTTON), clientWidth - 2 * gap - moreWidth - webWidth,
               buttonTop, webWidth, buttonHeight, FALSE);
    InvalidateRect(Window, nullptr, TRUE);
    return SIZE{clientWidth + frameWidth, clientHeight + frameHeight};
}

void TAnswerForm::FormDeactivated() {
    // The user works elsewhere now: the window goes, and the foreground stays where the user put it.
    const HWND foreground = GetForegroundWindow();
    if (foreground == Window || (foreground && GetWindow(foreground, GW_OWNER) == Window))
        return;
    Close(false);
}

void TAnswerForm::Close(bool giveBack) {
    const HWND source = Source;
    DestroyWindow(Window);
    // Back to the program the word came from, which still has its selection.
    if (giveBack && source && IsWindow(source))
        SetForegroundWindow(source);
}

void TAnswerForm::RunAfterClose(TAction action) {
    Close(true);
    if (action)
        action();
}
