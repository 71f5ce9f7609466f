#include "ConfigFrm.h"

#include <commctrl.h>
#include <wtsapi32.h>

#include <algorithm>
#include <iterator>

#include "../common/CaptionFit.h"
#include "../common/Settings.h"
#include "../common/UnicodeText.h"
#include "../hook/KeyboardHook.h"
#include "../lookup/AnswerFrm.h"
#include "../lookup/WinApiHacks.h"
#include "BundledDictionaries.h"
#include "ConfigFrmRes.h"
#include "Help.h"
#include "SingleInstance.h"

namespace {

// Posted to the window itself after a DPI change, once the system has rescaled the controls.
constexpr UINT WM_RECAPTURE_LAYOUT = WM_APP + 1;

constexpr int MinimumWidth = 530, MinimumHeight = 355; // outer size at 96 DPI

const std::vector<TAnchorRule> FrameAnchors = {
    {IDC_MAINPAGES, SizeX | SizeY},      {IDC_GROUPBOX4, MoveY | SizeX},
    {IDC_ENABLEWORDLARKCHECKBOX, MoveY}, {IDC_NEWBROWSERWINDOWCHECKBOX, MoveY},
    {IDC_OKBUTTON, MoveX | MoveY},       {IDC_CANCELBUTTON, MoveX | MoveY},
    {IDC_APPLYBUTTON, MoveX | MoveY},    {IDC_HELPBUTTON, MoveX | MoveY},
};

// F1 on these controls of the Hot Keys page opens their own topic; everywhere else the window's.
struct THelpContextRule {
    int ControlId;
    int Context;
};
constexpr THelpContextRule HotKeysPageHelpContexts[] = {
    {IDC_QUICKLOOKUPHOTKEYEDIT, QuickLookupHelpContext},
    {IDC_DEFAULTWEBLINKCOMBOBOX, QuickLookupHelpContext},
    {IDC_MENULOOKUPHOTKEYEDIT, MenuLookupHelpContext},
    {IDC_EDITLOOKUPHOTKEYEDIT, EditLookupHelpContext},
};

// How each page's controls follow the page's size, in page order.
const std::vector<TAnchorRule> PageAnchors[TConfigForm::PageCount] = {
    {{IDC_OVERVIEWNOTESLABEL, SizeX | SizeY},
     {IDC_DICTIONARYLICENCELABEL, MoveY | SizeX},
     {IDC_UNINSTALLBUTTON, MoveX | MoveY}},
    {{IDC_GROUPBOX1, SizeX},
     {IDC_DEFAULTWEBLINKCOMBOBOX, SizeX},
     {IDC_GROUPBOX2, SizeX},
     {IDC_GROUPBOX3, SizeX},
     {IDC_RESETHOTKEYSBUTTON, MoveX | MoveY}},
    {{IDC_LABEL9, SizeX},
     {IDC_PREDEFINEDLINKLABEL, SizeX},
     {IDC_DEFINEDLINKSLISTBOX, SizeY},
     {IDC_EDITWEBLINKGROUPBOX, SizeX},
     {IDC_WEBLINKDESCRIPTIONEDIT, SizeX},
     {IDC_WEBLINKBEFOREEDIT, SizeX},
     {IDC_WORDLABEL, MoveX},
     {IDC_WEBLINKURLAFTERLABEL, MoveX},
     {IDC_WEBLINKAFTEREDIT, MoveX},
     {IDC_WEBLINKUTF8CHECKBOX, SizeX},
     {IDC_WEBLINKADDBUTTON, MoveY},
     {IDC_WEBLINKDELETEBUTTON, MoveY},
     {IDC_RESETBUTTON, MoveX | MoveY}},
    {{IDC_PROGRAMSLABEL, SizeX},
     {IDC_PROGRAMSLISTBOX, SizeX | SizeY},
     {IDC_PROGRAMADDBUTTON, MoveY},
     {IDC_PROGRAMREMOVEBUTTON, MoveY}},
    {{IDC_DICTIONARIESLABEL, SizeX},
     {IDC_DICTIONARIESLIST, SizeX | SizeY},
     {IDC_DICTIONARYADDBUTTON, MoveY},
     {IDC_DICTIONARYREMOVEBUTTON, MoveY},
     {IDC_DICTIONARYMOVEUPBUTTON, MoveX | MoveY},
     {IDC_DICTIONARYMOVEDOWNBUTTON, MoveX | MoveY}},
};

constexpr const char* PageCaptions[TConfigForm::PageCount] = {"Overview", "Hot Keys", "Web Links", "Programs",
                                                              "Dictionaries"};
constexpr int PageTemplates[TConfigForm::PageCount] = {IDD_OVERVIEWPAGE, IDD_HOTKEYSPAGE, IDD_WEBLINKSPAGE,
                                                       IDD_PROGRAMSPAGE, IDD_DICTIONARIESPAGE};

// GetDpiForWindow exists from Windows 10 1607 on; older systems scale by the screen's DPI.
UINT WindowDpi(HWND window) {
    using TGetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<TGetDpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow)
        return getDpiForWindow(window);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

HICON LoadSharedIcon(HINSTANCE instance, const char* name, int sizeMetric) {
    const int size = GetSystemMetrics(sizeMetric);
    return static_cast<HICON>(LoadImageA(instance, name, IMAGE_ICON, size, size, LR_SHARED));
}

} // namespace

TConfigForm::~TConfigForm() {
    Destroy();
}

bool TConfigForm::Create(HINSTANCE instance) {
    Instance = instance;
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);

    // The dialog template names this class, so the window carries the class name that a newly
    // started copy looks for; the dialog manager needs its extra bytes and procedure.
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefDlgProcA;
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadSharedIcon(instance, "MAINICON", SM_CXICON);
    windowClass.hIconSm = LoadSharedIcon(instance, "MAINICON", SM_CXSMICON);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = ConfigFormClassName;
    if (!RegisterClassExA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;

    CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_CONFIGFORM), nullptr, DialogProc,
                       reinterpret_cast<LPARAM>(this));
    return Window != nullptr;
}

void TConfigForm::Destroy() {
    if (Window)
        DestroyWindow(Window);
}

int TConfigForm::RunMessageLoop() {
    MSG message{};
    // The wide functions throughout: an ANSI loop would hand every window "?" for each typed
    // character outside the code page, the Edit-and-Lookup dialog's Unicode edit too.
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        const bool inHotKeyEdit =
            std::find(std::begin(HotKeyEdits), std::end(HotKeyEdits), message.hwnd) != std::end(HotKeyEdits);
        // An Alt combination pressed in a hot-key edit is being defined: it must not also press
        // the button whose mnemonic it is.
        if (inHotKeyEdit && message.message == WM_SYSCHAR)
            continue;
        // Ctrl+Tab and Ctrl+Shift+Tab turn the pages, as in the system's own property sheets;
        // in a hot-key edit they are a combination being defined.
        if (Window && !inHotKeyEdit && message.message == WM_KEYDOWN && message.wParam == VK_TAB &&
            (GetKeyState(VK_CONTROL) & 0x8000) && GetActiveWindow() == Window) {
            const int step = (GetKeyState(VK_SHIFT) & 0x8000) ? PageCount - 1 : 1;
            TabCtrl_SetCurSel(MainPages, (TabCtrl_GetCurSel(MainPages) + step) % PageCount);
            SelectPage(static_cast<TPage>(TabCtrl_GetCurSel(MainPages)));
            MainPagesChange();
            continue;
        }
        if (TAnswerForm::PreTranslateMessage(message))
            continue;
        // Tab, Enter and Escape work in the window and in every open Edit-and-Lookup dialog.
        HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        if (root && (root == Window || IsEditAndLookupForm(root)) && IsDialogMessageW(root, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

INT_PTR CALLBACK TConfigForm::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* form = reinterpret_cast<TConfigForm*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        form->Window = window;
        try {
            form->FormCreate();
        } catch (...) {
            ShowCaughtError(window);
        }
        return FALSE; // created hidden: no control takes the focus yet
    }
    auto* form = reinterpret_cast<TConfigForm*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!form)
        return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
        form->Window = nullptr;
        return FALSE;
    }
    try {
        LRESULT result = 0;
        if (!form->HandleMessage(message, wParam, lParam, result))
            return FALSE;
        SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
        return TRUE;
    } catch (...) {
        ShowCaughtError(window);
    }
    return FALSE;
}

// The pages hand their controls' messages to the window object, fenced like the window's own.
INT_PTR CALLBACK TConfigForm::PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(page, DWLP_USER, lParam);
        return FALSE;
    }
    auto* form = reinterpret_cast<TConfigForm*>(GetWindowLongPtrA(page, DWLP_USER));
    if (!form)
        return FALSE;
    try {
        switch (message) {
        case WM_COMMAND:
            form->OnPageCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_NOTIFY:
            return form->OnPageNotify(*reinterpret_cast<const NMHDR*>(lParam)) ? TRUE : FALSE;
        case WM_SIZE:
            for (int index = 0; index < PageCount; ++index)
                if (form->Pages[index] == page)
                    form->PageLayouts[index].Apply();
            if (page == form->Pages[DictionariesPage])
                form->FitDictionaryColumns();
            return TRUE;
        }
    } catch (...) {
        ShowCaughtError(form->Window);
    }
    return FALSE;
}

bool TConfigForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_HOTKEY_PRESSED:
        OnHotKey(static_cast<int>(wParam));
        return true;
    case WM_KEYCOMBO_CAPTURED:
        OnKeyComboCaptured(lParam);
        return true;
    case WM_TRAY_CALLBACK:
        OnTrayCallback(static_cast<UINT>(LOWORD(lParam)));
        return true;
    case WM_QUIT_REQUEST:
        PostQuitMessage(0);
        return true;
    case WM_CLIPBOARD_CHANGED:
        OnClipboardChanged();
        return true;
    case WM_TIMER:
        if (wParam != TLookupEngine::NoSelectedTextTimerId)
            return false;
        Engine.NoSelectedTextTimerTimer();
        return true;
    case WM_DRAWCLIPBOARD:
        result = OnDrawClipboard();
        return true;
    case WM_CHANGECBCHAIN:
        result = OnChangeClipboardChain(reinterpret_cast<HWND>(wParam), reinterpret_cast<HWND>(lParam));
        return true;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return true;
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.idFrom == IDC_MAINPAGES && header.code == TCN_SELCHANGE) {
            SelectPage(static_cast<TPage>(TabCtrl_GetCurSel(MainPages)));
            MainPagesChange();
            return true;
        }
        return false;
    }
    case WM_SHOWWINDOW:
        if (wParam)
            FormShow();
        else
            FormHide();
        return false;
    case WM_CLOSE:
        // The close box, Alt+F4 and the system menu's Close hide the window like Cancel; only the
        // tray menu and a newly started copy end the program.
        CancelButtonClick();
        return true;
    case WM_HELP:
        OnHelp(*reinterpret_cast<const HELPINFO*>(lParam));
        return true;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return true;
    case WM_SIZE:
        Layout.Apply();
        PlacePages();
        return true;
    case WM_DPICHANGED:
        // The dialog manager rescales the template's controls and takes the suggested rectangle;
        // the anchors are measured again once it has done so.
        PostMessageA(Window, WM_RECAPTURE_LAYOUT, 0, 0);
        return false;
    case WM_RECAPTURE_LAYOUT:
        SetTitleFont();
        CaptureLayouts();
        FitDictionaryColumns();
        return true;
    case WM_POWERBROADCAST:
        if (wParam != PBT_APMRESUMEAUTOMATIC && wParam != PBT_APMRESUMESUSPEND)
            return false;
        RenewKeyboardHook();
        result = TRUE;
        return true;
    case WM_WTSSESSION_CHANGE:
        if (wParam != WTS_SESSION_UNLOCK)
            return false;
        RenewKeyboardHook();
        return true;
    case WM_DESTROY:
        FormDestroy();
        return true;
    }
    if (message == TaskbarCreatedMessage && TaskbarCreatedMessage != 0) {
        // Explorer restarted, and the new notification area knows no icons.
        AddTrayIcon();
        UpdateTrayIcon();
        return true;
    }
    return false;
}

void TConfigForm::FormCreate() {
    TaskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    TrayMenuResource = TMenu(LoadMenuA(Instance, MAKEINTRESOURCEA(IDM_TRAYPOPUPMENU)));
    TrayPopupMenu = GetSubMenu(TrayMenuResource.Get(), 0);
    SetMenuDefaultItem(TrayPopupMenu, IDM_PREFERENCES, FALSE);
    MainPages = GetDlgItem(Window, IDC_MAINPAGES);
    CreatePages();

    SelectPage(OverviewPage);
    SetWindowTextA(Window, ConfigFormTitle);
    InitHotKeyEdits();
    DisabledTrayIcon = LoadSharedIcon(Instance, "MAINICONDISABLED", SM_CXSMICON);
    MainIcon = LoadSharedIcon(Instance, "MAINICON", SM_CXSMICON);
    AddTrayIcon();
    Engine.Attach(Window, Instance);
    NextClipboardViewer = SetClipboardViewer(Window);
    StartKeyboardHook(Window);
    HookStarted = ASettings::GetHookHandle() != nullptr;
    SessionNotified = WTSRegisterSessionNotification(Window, NOTIFY_FOR_THIS_SESSION) != FALSE;
    SetHelpContexts();
    SetControlUtf8Text(GetDlgItem(Pages[OverviewPage], IDC_OVERVIEWNOTESLABEL), LoadText(IDS_OVERVIEWNOTES));
    // With the window and the hook up, the dictionaries are read on a thread of their own, a moment
    // after the start (at once when a lookup needs them). At the first start that reading also
    // tells which of the dictionaries that come with the program open.
    TDictionaryShelf::TOpened opened;
    if (std::vector<std::wstring> bundled = ListBundledDictionaries(); !bundled.empty())
        opened = [bundled](const TDictionaryShelf::TItems& items) { KeepOpenedDictionaries(bundled, items); };
    Engine.OpenDictionaries(TLookupEngine::DictionaryStartDelayMs, std::move(opened));
}

void TConfigForm::DictionariesChanged() {
    Engine.OpenDictionaries();
}

// Windows removes a low-level hook that once takes too long without telling its program, above all
// while the computer wakes; the hot keys would then do nothing until a restart. So on waking and on
// unlocking, the hook is installed anew (the new one before the old one goes).
void TConfigForm::RenewKeyboardHook() {
    if (HookStarted)
        StartKeyboardHook(Window);
}

void TConfigForm::FormDestroy() {
    if (SessionNotified)
        WTSUnRegisterSessionNotification(Window);
    DeleteTrayIcon();
    // Only this process's own hook goes: a newer copy's hook runs in the newer copy.
    StopKeyboardHook();
    ChangeClipboardChain(Window, NextClipboardViewer);
}

void TConfigForm::CreatePages() {
    for (int page = 0; page < PageCount; ++page) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(PageCaptions[page]);
        SendMessageA(MainPages, TCM_INSERTITEMA, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item));
        // Unicode dialogs, so that their edits, list and drop-down hold text in any script.
        Pages[page] = CreateDialogParamW(Instance, MAKEINTRESOURCEW(PageTemplates[page]), Window, PageProc,
                                         reinterpret_cast<LPARAM>(this));
    }
    InitOverviewPage();
    InitWebLinksPage();
    InitDictionariesPage();
    CaptureLayouts();
}

// The captions are fitted to their text in the fonts of the moment before the anchors take the
// controls' places as their baseline.
void TConfigForm::CaptureLayouts() {
    FitCaptions(Window);
    Layout.Capture(Window, FrameAnchors);
    for (int page = 0; page < PageCount; ++page) {
        FitCaptions(Pages[page]);
        PageLayouts[page].Capture(Pages[page], PageAnchors[page]);
    }
    PlacePages();
}

// The pages lie over the tab control's display area, right after it in the z-order: the tab
// control clips its siblings, so it does not paint over them, and the Tab key reaches the page's
// controls between the page tabs and the Options group.
void TConfigForm::PlacePages() {
    if (!MainPages)
        return;
    RECT area{};
    GetWindowRect(MainPages, &area);
    MapWindowPoints(nullptr, Window, reinterpret_cast<POINT*>(&area), 2);
    TabCtrl_AdjustRect(MainPages, FALSE, &area);
    for (HWND page : Pages)
        if (page)
            SetWindowPos(page, MainPages, area.left, area.top, area.right - area.left, area.bottom - area.top,
                         SWP_NOACTIVATE);
}

void TConfigForm::SelectPage(TPage page) {
    TabCtrl_SetCurSel(MainPages, page);
    for (int index = 0; index < PageCount; ++index)
        if (Pages[index])
            ShowWindow(Pages[index], index == page ? SW_SHOW : SW_HIDE);
    // The keyboard must not stay in a control that is no longer shown.
    const HWND focus = GetFocus();
    for (int index = 0; index < PageCount; ++index)
        if (index != page && focus && IsChild(Pages[index], focus))
            SendMessageA(Window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(MainPages), TRUE);
    if (page == DictionariesPage)
        DictionariesPageShown();
}

void TConfigForm::SetHelpContexts() {
    SetWindowContextHelpId(Window, ConfigWindowHelpContext);
    for (const THelpContextRule& rule : HotKeysPageHelpContexts)
        if (HWND control = GetDlgItem(Pages[HotKeysPage], rule.ControlId))
            SetWindowContextHelpId(control, static_cast<DWORD>(rule.Context));
    for (HWND control = GetWindow(Pages[ProgramsPage], GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT))
        SetWindowContextHelpId(control, ProgramsHelpContext);
    for (HWND control = GetWindow(Pages[DictionariesPage], GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT))
        SetWindowContextHelpId(control, DictionariesHelpContext);
}

void TConfigForm::ShowHelp(int context) {
    ShowHelpTopic(Window, context);
}

void TConfigForm::OnHelp(const HELPINFO& info) {
    const bool control = info.iContextType == HELPINFO_WINDOW && info.dwContextId != 0;
    ShowHelp(control ? static_cast<int>(info.dwContextId) : ConfigWindowHelpContext);
}

void TConfigForm::OnGetMinMaxInfo(MINMAXINFO& info) {
    const UINT dpi = WindowDpi(Window);
    info.ptMinTrackSize.x = MulDiv(MinimumWidth, static_cast<int>(dpi), 96);
    info.ptMinTrackSize.y = MulDiv(MinimumHeight, static_cast<int>(dpi), 96);
}

// --- Tray icon ---

void TConfigForm::AddTrayIcon() {
    TrayIconData = NOTIFYICONDATAA{};
    TrayIconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    TrayIconData.hWnd = Window;
    TrayIconData.uID = 0;
    TrayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    TrayIconData.uCallbackMessage = WM_TRAY_CALLBACK;
    TrayIconData.hIcon = MainIcon;
    lstrcpynA(TrayIconData.szTip, ProgramTitle, 64);
    Shell_NotifyIconA(NIM_ADD, &TrayIconData);
}

void TConfigForm::DeleteTrayIcon() {
    Shell_NotifyIconA(NIM_DELETE, &TrayIconData);
}

void TConfigForm::UpdateTrayIcon() {
    TrayIconData.hIcon = ASettings::GetEnabled() ? MainIcon : DisabledTrayIcon;
    Shell_NotifyIconA(NIM_MODIFY, &TrayIconData);
}

void TConfigForm::OnTrayCallback(UINT mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONDBLCLK:
        ShowConfiguration();
        break;
    case WM_RBUTTONUP:
        CheckMenuItem(TrayPopupMenu, IDM_ENABLED,
                      MF_BYCOMMAND | (ASettings::GetEnabled() ? MF_CHECKED : MF_UNCHECKED));
        if (const UINT command = PopupMenuAtCursor(TrayPopupMenu))
            OnCommand(static_cast<int>(command));
        break;
    }
}

// --- Showing and hiding ---

void TConfigForm::ShowConfiguration() {
    // Shown already: only to the front, so the unsaved contents of the controls stay.
    if (!IsWindowVisible(Window))
        ShowWindow(Window, SW_SHOW);
    BringWindowToTop(Window);
    SetForegroundWindow(Window);
}

void TConfigForm::FormShow() {
    LoadSettings();
    // Only now, with every control filled, may the hook send key combinations here instead of
    // acting on hot keys.
    ASettings::SetConfigWindowShown(true);
}

void TConfigForm::FormHide() {
    ASettings::SetConfigWindowShown(false);
}

// --- Commands: buttons and tray menu items ---

void TConfigForm::OnCommand(int id) {
    switch (id) {
    case IDC_OKBUTTON:
        OkButtonClick();
        break;
    case IDC_CANCELBUTTON:
        CancelButtonClick();
        break;
    case IDC_APPLYBUTTON:
        ApplyButtonClick();
        break;
    case IDC_HELPBUTTON:
        HelpButtonClick();
        break;
    case IDM_PREFERENCES:
        PreferencesMenuItemClick();
        break;
    case IDM_ABOUT:
        AboutMenuItemClick();
        break;
    case IDM_HELP:
        HelpMenuItemClick();
        break;
    case IDM_ENABLED:
        EnabledMenuItemClick();
        break;
    case IDM_EXITWORDLARK:
        ExitWordlarkMenuItemClick();
        break;
    }
    // IDOK and IDCANCEL, which the dialog manager sends for Enter and Escape, do nothing.
}

void TConfigForm::OkButtonClick() {
    if (ApplySettings())
        ShowWindow(Window, SW_HIDE);
}

void TConfigForm::CancelButtonClick() {
    ShowWindow(Window, SW_HIDE);
}

void TConfigForm::ApplyButtonClick() {
    ApplySettings();
}

std::string TConfigForm::LoadText(UINT id) const {
    wchar_t text[1024];
    const int length = LoadStringW(Instance, id, text, 1024);
    return Utf8FromUtf16(std::wstring(text, static_cast<size_t>(length > 0 ? length : 0)));
}

int TConfigForm::ShowMessage(UINT captionId, const std::string& text, UINT flags) const {
    return MessageBoxW(Window, Utf16FromUtf8(text).c_str(), Utf16FromUtf8(LoadText(captionId)).c_str(),
                       flags);
}

void TConfigForm::HelpButtonClick() {
    ShowHelp(ConfigWindowHelpContext);
}

void TConfigForm::PreferencesMenuItemClick() {
    ShowConfiguration();
}

void TConfigForm::AboutMenuItemClick() {
    ShowConfiguration();
    SelectPage(OverviewPage);
}

void TConfigForm::HelpMenuItemClick() {
    ShowHelp(TrayHelpContext);
}

void TConfigForm::EnabledMenuItemClick() {
    ASettings::SetEnabled(!ASettings::GetEnabled());
    const bool enabled = ASettings::GetEnabled();
    CheckMenuItem(TrayPopupMenu, IDM_ENABLED, MF_BYCOMMAND | (enabled ? MF_CHECKED : MF_UNCHECKED));
    CheckDlgButton(Window, IDC_ENABLEWORDLARKCHECKBOX, enabled ? BST_CHECKED : BST_UNCHECKED);
    UpdateTrayIcon();
}

void TConfigForm::ExitWordlarkMenuItemClick() {
    PostQuitMessage(0);
}

// --- Lookup messages and the clipboard-viewer chain ---

void TConfigForm::OnHotKey(int index) {
    Engine.HotKeyPressed(index);
}

void TConfigForm::OnClipboardChanged() {
    Engine.ClipboardChanged();
}

LRESULT TConfigForm::OnDrawClipboard() {
    PostMessageA(Window, WM_CLIPBOARD_CHANGED, 0, 0);
    // Forwarded with no parameters, whatever arrived, and never with the clipboard open here.
    return NextClipboardViewer ? SendMessageA(NextClipboardViewer, WM_DRAWCLIPBOARD, 0, 0) : 0;
}

LRESULT TConfigForm::OnChangeClipboardChain(HWND removed, HWND next) {
    if (removed == NextClipboardViewer) {
        NextClipboardViewer = next;
        return 0;
    }
    return NextClipboardViewer
               ? SendMessageA(NextClipboardViewer, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(removed),
                              reinterpret_cast<LPARAM>(next))
               : 0;
}
