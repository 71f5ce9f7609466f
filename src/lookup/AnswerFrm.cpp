#include "AnswerFrm.h"

#include <commctrl.h>
#include <windowsx.h>
#include <richedit.h>

#include <algorithm>

#include "AnswerFrmRes.h"
#include "ErrorBox.h"
#include "LookupText.h"
#include "RegRead.h"
#include "Settings.h"
#include "UnicodeText.h"
#include "WinApiHacks.h"

namespace {

constexpr const wchar_t* AnswerFormClass = L"TAnswerForm";
// How long the window waits, after losing the foreground, before it takes that for the user's
// click elsewhere: Wine moves the foreground back and forth for a moment while a window takes it.
constexpr UINT DeactivatedTimerId = 1, DeactivatedWaitMs = 150;
// The largest window sized to its text at 96 DPI, and the text's padding inside its control.
constexpr int MaxWidth96 = 480, MaxHeight96 = 360, Padding96 = 6;
// Posted to the window to follow a link (or go in the history) once the message at hand is done.
constexpr UINT FollowMessage = WM_APP + 1;

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

// The answer window's stored values; one missing, of another type or out of range is not there.
int StoredValue(const char* name, int low, int high, int missing) {
    std::uint32_t value = 0;
    if (ReadRegistryDword(AnswerKey, name, value) != TRegRead::Read ||
        value < static_cast<std::uint32_t>(low) || value > static_cast<std::uint32_t>(high))
        return missing;
    return static_cast<int>(value);
}

// A value that cannot be stored is not worth a box: the window works as it is.
void StoreValue(const char* name, int value) {
    TRegKey key;
    const DWORD data = static_cast<DWORD>(value);
    if (key.Create(HKEY_CURRENT_USER, AnswerKey, KEY_SET_VALUE))
        RegSetValueExA(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

bool KeyDown(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
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
                             TAction onMoreLinks, TFollow onFollow) {
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
    // Kept open and shown, the window stays where the user reads it, and the program the word
    // came from keeps the foreground.
    const bool keptOpen = !fromItself && form->KeepOpen && IsWindowVisible(form->Window);
    if (!fromItself)
        form->Source = source;
    if (!fromItself)
        form->History.Start(answer.Word);
    else if (!form->Navigating)
        form->History.Add(answer.Word);
    form->OnWebLookup = std::move(onWebLookup);
    form->OnMoreLinks = std::move(onMoreLinks);
    form->OnFollow = std::move(onFollow);
    form->SetContent(answer);

    RECT now{};
    GetWindowRect(form->Window, &now);
    const TScreenBox anchor =
        fromItself || keptOpen ? TScreenBox{now.left, now.top, now.left + 1, now.top} : WordAnchor(source);
    const SIZE size = form->LayOut(anchor);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT anchorRect{anchor.Left, anchor.Top, anchor.Right, anchor.Bottom};
    GetMonitorInfoW(MonitorFromRect(&anchorRect, MONITOR_DEFAULTTONEAREST), &monitor);
    const TScreenBox place = PlaceAnswerWindow(anchor, size.cx, size.cy, BoxOf(monitor.rcWork));
    SetWindowPos(form->Window, nullptr, place.Left, place.Top, place.Width(), place.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);

    if (keptOpen) {
        ShowWindow(form->Window, SW_SHOWNOACTIVATE);
        return form->Window;
    }
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
    try {
        if (OpenForm->HandleKey(message))
            return true;
    } catch (...) {
        ShowCaughtError(OpenForm ? OpenForm->Window : nullptr);
        return true;
    }
    const HWND window = OpenForm->Window, focusBefore = GetFocus();
    const bool backTab = message.message == WM_KEYDOWN && message.wParam == VK_TAB && KeyDown(VK_SHIFT);
    const bool handled = IsDialogMessageW(window, &message) != FALSE;
    // Coming back into the text from the foot, Shift + Tab goes on from its last link, as on a page.
    if (backTab && OpenForm && OpenForm->Window == window && focusBefore != OpenForm->Text &&
        GetFocus() == OpenForm->Text && !OpenForm->Links.empty())
        OpenForm->ChooseLink(static_cast<int>(OpenForm->Links.size()) - 1);
    return handled;
}

bool TAnswerForm::HandleKey(const MSG& message) {
    const bool keyDown = message.message == WM_KEYDOWN, altDown = message.message == WM_SYSKEYDOWN;
    if (!keyDown && !altDown)
        return false;
    const WPARAM key = message.wParam;
    const bool control = KeyDown(VK_CONTROL), alt = KeyDown(VK_MENU), shift = KeyDown(VK_SHIFT);
    if (altDown && alt && !control && (key == VK_LEFT || key == VK_RIGHT)) {
        const std::string word = key == VK_LEFT ? History.Back() : History.Forward();
        if (!word.empty())
            Follow(word, true);
        return true;
    }
    if (!keyDown || alt)
        return false;
    if (control) {
        if (key == VK_OEM_PLUS || key == VK_ADD)
            SetZoom(ZoomStep(Zoom, 1));
        else if (key == VK_OEM_MINUS || key == VK_SUBTRACT)
            SetZoom(ZoomStep(Zoom, -1));
        else if (key == '0' || key == VK_NUMPAD0)
            SetZoom(NormalZoom);
        else
            return false;
        return true;
    }
    const bool inText = GetFocus() == Text;
    // No text is typed anywhere in the window: Backspace goes back, as in a browser.
    if (key == VK_BACK) {
        const std::string word = History.Back();
        if (!word.empty())
            Follow(word, true);
        return true;
    }
    if (inText && key == VK_RETURN && Chosen >= 0) {
        Follow(Links[static_cast<std::size_t>(Chosen)].Target, false);
        return true;
    }
    if (inText && key == VK_TAB) {
        const int count = static_cast<int>(Links.size());
        const int next = shift ? Chosen - 1 : Chosen + 1;
        if (shift && Chosen < 0)
            return false; // on to the foot, backwards
        if (next >= 0 && next < count) {
            ChooseLink(next);
            return true;
        }
        // Past the last link (or before the first) the dialog manager moves on to the foot.
        ChooseLink(-1);
    }
    return false;
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
            case IDC_KEEPOPEN:
                form->KeepOpen = IsDlgButtonChecked(window, IDC_KEEPOPEN) == BST_CHECKED;
                StoreValue("KeepOpen", form->KeepOpen ? 1 : 0);
                // Kept open, it stays above the programs the user reads and types in.
                SetWindowPos(window, form->KeepOpen ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                return TRUE;
            }
            return FALSE;
        case FollowMessage: {
            const std::string word = form->PendingWord;
            const TFollow follow = form->OnFollow; // replaced by the answer it shows
            form->Navigating = form->PendingNavigating;
            if (follow && !word.empty())
                follow(word);
            form->Navigating = false;
            return TRUE;
        }
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED)
                form->Arrange(LOWORD(lParam), HIWORD(lParam));
            return FALSE;
        case WM_ENTERSIZEMOVE: {
            RECT box{};
            GetWindowRect(window, &box);
            form->SizeBeforeMove = SIZE{box.right - box.left, box.bottom - box.top};
            return FALSE;
        }
        case WM_EXITSIZEMOVE:
            form->SizeMoveEnded();
            return FALSE;
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            RECT least{0, 0, form->WebWidth + form->MoreWidth + form->KeepWidth + 4 * form->Gap,
                       3 * form->ButtonHeight + 2 * form->Gap};
            AdjustWindowRectEx(&least, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                               static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
            limits->ptMinTrackSize.x = std::max<LONG>(limits->ptMinTrackSize.x, least.right - least.left);
            limits->ptMinTrackSize.y = std::max<LONG>(limits->ptMinTrackSize.y, least.bottom - least.top);
            return TRUE;
        }
        case WM_CLOSE:
            form->Close(true);
            return TRUE;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE && !form->KeepOpen)
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
    SetWindowSubclass(Text, TextControlProc, 0, reinterpret_cast<DWORD_PTR>(this));
    // First in the tab order: the keys scroll and select the text.
    SetWindowPos(Text, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Zoom = StoredValue("Zoom", MinZoom, MaxZoom, NormalZoom);
    MakeFonts();
    KeepOpen = StoredValue("KeepOpen", 0, 1, 0) == 1;
    CheckDlgButton(Window, IDC_KEEPOPEN, KeepOpen ? BST_CHECKED : BST_UNCHECKED);
    if (KeepOpen)
        SetWindowPos(Window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (RichText) {
        // Long definitions: a rich edit holds 32767 characters unless told otherwise.
        SendMessageW(Text, EM_EXLIMITTEXT, 0, 4 * MaxAnswerBytes);
        SendMessageW(Text, EM_SETEVENTMASK, 0, 0);
    } else {
        SendMessageW(Text, EM_SETLIMITTEXT, 4 * MaxAnswerBytes, 0);
    }
}

void TAnswerForm::MakeFonts() {
    // Scaled fonts rather than the rich edit's own zoom, which Wine does not re-wrap.
    const auto font = reinterpret_cast<HFONT>(SendMessageW(Window, WM_GETFONT, 0, 0));
    TextFont = TGdiObject(VariantOf(font, FW_NORMAL, false, Zoom, 100));
    BoldFont = TGdiObject(VariantOf(font, FW_BOLD, false, Zoom, 100));
    HeadingFont = TGdiObject(VariantOf(font, FW_BOLD, false, 5 * Zoom, 400));
    NoticeFont = TGdiObject(VariantOf(font, FW_NORMAL, true, Zoom, 100));
    SendMessageW(Text, WM_SETFONT, reinterpret_cast<WPARAM>(TextFont.Get()), FALSE);
}

void TAnswerForm::SetZoom(int zoom) {
    zoom = std::max(MinZoom, std::min(MaxZoom, zoom));
    if (zoom == Zoom)
        return;
    Zoom = zoom;
    StoreValue("Zoom", Zoom);
    // The same text again at the new size, re-wrapped to the window's width, its first line kept
    // in view.
    const LRESULT firstLine = SendMessageW(Text, EM_GETFIRSTVISIBLELINE, 0, 0);
    const LRESULT firstCharacter = SendMessageW(Text, EM_LINEINDEX, static_cast<WPARAM>(firstLine), 0);
    MakeFonts();
    FillText();
    SendMessageW(Text, EM_LINESCROLL, 0,
                 SendMessageW(Text, EM_LINEFROMCHAR, static_cast<WPARAM>(firstCharacter), 0));
    ChooseLink(Chosen);
}

void TAnswerForm::SetContent(const TAnswer& answer) {
    Paragraphs = answer.Paragraphs;
    Links = ControlLinks(Paragraphs);
    Chosen = -1;
    SetWindowTextW(Window, Utf16FromUtf8(answer.Word).c_str());
    SetDlgItemTextW(Window, IDC_WEBLOOKUPBUTTON,
                    Utf16FromUtf8("Look up on " + LinkMenuCaption(answer.WebLinkDescription)).c_str());
}

void TAnswerForm::FillText() {
    // The whole text at once, formats and links with it, in one RTF stream: each change of a rich
    // edit's text or formats lays out what follows it again, and under Wine a format set link by
    // link costs time that grows with the square of the links.
    SendMessageW(Text, WM_SETREDRAW, FALSE, 0);
    if (RichText) {
        LOGFONTW face{};
        GetObjectW(TextFont.Get(), sizeof face, &face);
        HDC screen = GetDC(nullptr);
        const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        const int halfPoints = MulDiv(face.lfHeight < 0 ? -face.lfHeight : face.lfHeight, 144, pixelsPerInch);
        struct TReading {
            std::string Rtf;
            std::size_t At = 0;
        } reading{AnswerRtf(Paragraphs, Utf8FromUtf16(face.lfFaceName), halfPoints)};
        EDITSTREAM stream{};
        stream.dwCookie = reinterpret_cast<DWORD_PTR>(&reading);
        stream.pfnCallback = [](DWORD_PTR cookie, LPBYTE buffer, LONG room, LONG* given) -> DWORD {
            auto* from = reinterpret_cast<TReading*>(cookie);
            const std::size_t count =
                std::min<std::size_t>(static_cast<std::size_t>(room), from->Rtf.size() - from->At);
            std::copy_n(from->Rtf.data() + from->At, count, buffer);
            from->At += count;
            *given = static_cast<LONG>(count);
            return 0;
        };
        SendMessageW(Text, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
        CHARRANGE start{0, 0};
        SendMessageW(Text, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    } else {
        SetWindowTextW(Text, Utf16FromUtf8(AnswerPlainText(Paragraphs)).c_str());
    }
    SendMessageW(Text, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Text, nullptr, TRUE);
}

SIZE TAnswerForm::LayOut(const TScreenBox& anchor) {
    RECT anchorRect{anchor.Left, anchor.Top, anchor.Right, anchor.Bottom};
    const HMONITOR monitor = MonitorFromRect(&anchorRect, MONITOR_DEFAULTTONEAREST);
    const int dpi = MonitorDpi(monitor);
    Padding = MulDiv(Padding96, dpi, 96);
    const int scrollBar = GetSystemMetrics(SM_CXVSCROLL);
    // Spacing in dialog units, so that it grows with the font as the buttons do.
    RECT units{4, 4, 50, 14};
    MapDialogRect(Window, &units);
    Gap = units.left;
    ButtonHeight = units.bottom;
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(Window, GWL_STYLE)),
                exStyle = static_cast<DWORD>(GetWindowLongPtrW(Window, GWL_EXSTYLE));
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int frameWidth = frame.right - frame.left, frameHeight = frame.bottom - frame.top;

    // The foot's controls as wide as their captions need.
    HDC dc = GetDC(Window);
    const auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(Window, WM_GETFONT, 0, 0));
    const HGDIOBJ before = SelectObject(dc, dialogFont);
    const auto captionWidth = [&](int id) {
        wchar_t caption[512] = L"";
        GetDlgItemTextW(Window, id, caption, 512);
        RECT box{0, 0, 0, 0};
        DrawTextW(dc, caption, -1, &box, DT_CALCRECT | DT_SINGLELINE);
        return static_cast<int>(box.right);
    };
    WebWidth = std::max<int>(units.right, captionWidth(IDC_WEBLOOKUPBUTTON) + 2 * Gap);
    MoreWidth = std::max<int>(units.right, captionWidth(IDC_MORELINKSBUTTON) + 2 * Gap);
    KeepWidth = captionWidth(IDC_KEEPOPEN) + GetSystemMetrics(SM_CXMENUCHECK) + 2 * Gap;
    const int footWidth = WebWidth + MoreWidth + KeepWidth + 4 * Gap, footHeight = ButtonHeight + 2 * Gap;

    // Once the user has sized a window, every window has that size (at the monitor's DPI).
    const int storedWidth =
                  StoredWindowSide(static_cast<std::uint32_t>(StoredValue("Width", 0, 0x7FFFFFFF, 0))),
              storedHeight =
                  StoredWindowSide(static_cast<std::uint32_t>(StoredValue("Height", 0, 0x7FFFFFFF, 0)));
    if (storedWidth && storedHeight) {
        SelectObject(dc, before);
        ReleaseDC(Window, dc);
        MONITORINFO info{};
        info.cbSize = sizeof info;
        GetMonitorInfoW(monitor, &info);
        const SIZE size{std::min<int>(std::max(MulDiv(storedWidth, dpi, 96), footWidth + frameWidth),
                                      info.rcWork.right - info.rcWork.left),
                        std::min<int>(MulDiv(storedHeight, dpi, 96), info.rcWork.bottom - info.rcWork.top)};
        SetWindowTextW(Text, L"");
        SetWindowPos(Window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT client{};
        GetClientRect(Window, &client);
        Arrange(client.right, client.bottom);
        FillText();
        SendMessageW(Text, WM_VSCROLL, SB_TOP, 0);
        return size;
    }

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
            return TextFont.Get();
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
    // Room that is not text: the padding on both sides, the scroll bar's place, a little slack for
    // the control's own rounding.
    const int chrome = 2 * Padding + scrollBar + MulDiv(4, dpi, 96);
    // Measured until one paragraph needs the largest width: a long entry has one soon.
    int textWidth = 0;
    for (std::size_t n = 0; n < Paragraphs.size() && textWidth + chrome < maxWidth - frameWidth; ++n)
        textWidth = std::max<int>(textWidth, measure(Paragraphs[n], 0).right);
    const int clientWidth = std::max(footWidth, std::min(maxWidth - frameWidth, textWidth + chrome));
    textWidth = clientWidth - chrome;
    int textHeight = 0;
    if (!RichText)
        for (const TAnswerParagraph& paragraph : Paragraphs)
            textHeight += measure(paragraph, textWidth).bottom;
    SelectObject(dc, before);
    ReleaseDC(Window, dc);

    const int largestBox = maxHeight - frameHeight - footHeight;
    // The text goes in at its final width, so that it is laid out once; the previous answer's
    // text must not be laid out again first.
    SetWindowTextW(Text, L"");
    Arrange(clientWidth, largestBox + footHeight);
    FillText();
    int textBoxHeight = std::min(largestBox, textHeight + 2 * Padding);
    if (RichText && !Paragraphs.empty()) {
        // A rich edit lays its text out in its own way (paragraph spacing, the larger heading):
        // where it puts the last character, and that character's line below it, is the height.
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
            textBoxHeight = std::min<int>(largestBox, last.y + metrics.tmHeight + Padding + 2);
    }
    const SIZE size{clientWidth + frameWidth, textBoxHeight + footHeight + frameHeight};
    // WM_SIZE places the controls at the final size.
    SetWindowPos(Window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    GetClientRect(Window, &client);
    Arrange(client.right, client.bottom);
    // Measured and shrunk, the control may have scrolled: the answer is read from its start.
    SendMessageW(Text, WM_VSCROLL, SB_TOP, 0);
    return size;
}

void TAnswerForm::Arrange(int clientWidth, int clientHeight) {
    if (!Text || ButtonHeight == 0)
        return;
    const int footHeight = ButtonHeight + 2 * Gap, textHeight = std::max(0, clientHeight - footHeight);
    MoveWindow(Text, 0, 0, clientWidth, textHeight, TRUE);
    // A new text rectangle lays the whole text out again: only when it changes.
    const RECT inner{Padding, Padding, clientWidth - Padding - GetSystemMetrics(SM_CXVSCROLL),
                     textHeight - Padding};
    if (!EqualRect(&inner, &TextRect)) {
        TextRect = inner;
        if (RichText)
            SendMessageW(Text, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&inner));
        else
            SendMessageW(Text, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(Padding, Padding));
    }
    const int top = textHeight + Gap;
    MoveWindow(GetDlgItem(Window, IDC_KEEPOPEN), Gap, top, KeepWidth, ButtonHeight, TRUE);
    MoveWindow(GetDlgItem(Window, IDC_MORELINKSBUTTON), clientWidth - Gap - MoreWidth, top, MoreWidth,
               ButtonHeight, TRUE);
    MoveWindow(GetDlgItem(Window, IDC_WEBLOOKUPBUTTON), clientWidth - 2 * Gap - MoreWidth - WebWidth, top,
               WebWidth, ButtonHeight, TRUE);
}

void TAnswerForm::ChooseLink(int index) {
    Chosen = index >= 0 && index < static_cast<int>(Links.size()) ? index : -1;
    CHARRANGE range{0, 0};
    if (Chosen >= 0) {
        const TAnswerLink& link = Links[static_cast<std::size_t>(Chosen)];
        range = CHARRANGE{static_cast<LONG>(link.Start), static_cast<LONG>(link.End)};
    } else {
        DWORD start = 0, end = 0;
        SendMessageW(Text, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        range.cpMin = range.cpMax = static_cast<LONG>(end);
    }
    if (RichText)
        SendMessageW(Text, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    else
        SendMessageW(Text, EM_SETSEL, static_cast<WPARAM>(range.cpMin), range.cpMax);
    SendMessageW(Text, EM_SCROLLCARET, 0, 0);
}

int TAnswerForm::LinkAt(POINT point) const {
    LONG at = -1;
    if (RichText) {
        POINTL where{point.x, point.y};
        at = static_cast<LONG>(SendMessageW(Text, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&where)));
        // The nearest character is given for any point: it must be under the point.
        POINTL start{0, 0};
        SendMessageW(Text, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&start), at);
        if (point.x < start.x || point.y < start.y)
            return -1;
    } else {
        at = LOWORD(SendMessageW(Text, EM_CHARFROMPOS, 0, MAKELPARAM(point.x, point.y)));
    }
    const auto link =
        std::upper_bound(Links.begin(), Links.end(), at, [](LONG position, const TAnswerLink& each) {
            return static_cast<std::size_t>(position) < each.End;
        });
    return link != Links.end() && at >= 0 && static_cast<std::size_t>(at) >= link->Start
               ? static_cast<int>(link - Links.begin())
               : -1;
}

void TAnswerForm::Follow(const std::string& word, bool navigating) {
    PendingWord = word;
    PendingNavigating = navigating;
    PostMessageW(Window, FollowMessage, 0, 0);
}

void TAnswerForm::SizeMoveEnded() {
    RECT box{};
    GetWindowRect(Window, &box);
    const SIZE size{box.right - box.left, box.bottom - box.top};
    if (size.cx == SizeBeforeMove.cx && size.cy == SizeBeforeMove.cy)
        return; // moved, not sized
    const int dpi = MonitorDpi(MonitorFromWindow(Window, MONITOR_DEFAULTTONEAREST));
    StoreValue("Width", MulDiv(size.cx, 96, dpi));
    StoreValue("Height", MulDiv(size.cy, 96, dpi));
}

// The dialog manager selects the whole text of an edit that gets the focus from it (on activation
// too): the text control tells it that it has no such selection to offer. A click on a link
// follows it; Ctrl + wheel zooms the text by its fonts, not by the control's own zoom.
LRESULT CALLBACK TAnswerForm::TextControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR, DWORD_PTR data) {
    auto* form = reinterpret_cast<TAnswerForm*>(data);
    try {
        switch (message) {
        case WM_MOUSEWHEEL:
            if (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) {
                form->SetZoom(ZoomStep(form->Zoom, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? 1 : -1));
                return 0;
            }
            break;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                POINT point{};
                GetCursorPos(&point);
                ScreenToClient(control, &point);
                if (form->LinkAt(point) >= 0) {
                    SetCursor(LoadCursorA(nullptr, IDC_HAND));
                    return TRUE;
                }
            }
            break;
        case WM_LBUTTONDOWN:
            form->Chosen = -1;
            break;
        case WM_LBUTTONUP: {
            const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
            DWORD start = 0, end = 0;
            SendMessageW(control, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            const int link = form->LinkAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            // A click, not a selection dragged across the link.
            if (link >= 0 && start == end)
                form->Follow(form->Links[static_cast<std::size_t>(link)].Target, false);
            return result;
        }
        }
    } catch (...) {
        ShowCaughtError(GetParent(control));
    }
    const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
    return message == WM_GETDLGCODE ? result & ~static_cast<LRESULT>(DLGC_HASSETSEL) : result;
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
