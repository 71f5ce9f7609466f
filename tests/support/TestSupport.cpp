#include "TestSupport.h"

#include "Errors.h"
#include "Settings.h"
#include "UnicodeText.h"
#include "WinHandles.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace TestSupport {

std::string ExeDir() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path, length);
    return text.substr(0, text.find_last_of("\\/") + 1);
}

std::string BuildFile(const std::string& name) {
    const std::string dir = ExeDir();
    for (const std::string& candidate :
         {dir + name, dir + "..\\..\\src\\" + name, dir + "..\\src\\" + name, dir + "..\\wine\\" + name})
        if (GetFileAttributesA(candidate.c_str()) != INVALID_FILE_ATTRIBUTES)
            return candidate;
    return dir + name;
}

std::string TempFile(const std::string& stem) {
    // Process ids are reused once the wineserver restarts, so the time joins them in the name:
    // a file that an earlier run left behind must never be met again.
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    static int counter = 0;
    return std::string(dir) + stem + "-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount64()) + "-" + std::to_string(++counter) + ".txt";
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream text(ReadFile(path));
    for (std::string line; std::getline(text, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

TProcess::TProcess(const std::string& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    // A start that fails at once is reported and tried again: rarely, on a loaded machine, a
    // program's window was not found within a fraction of a long wait, which only a failed start
    // explains.
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::string line = commandLine;
        if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &Info))
            return;
        std::fprintf(stderr, "%s did not start (error %lu)\n", commandLine.c_str(), GetLastError());
        Info = PROCESS_INFORMATION{};
        Sleep(500);
    }
}

std::string TProcess::Describe() {
    if (!Info.hProcess)
        return "not started";
    if (!Wait(0))
        return "running";
    return "ended with exit code " + std::to_string(ExitCode());
}

TProcess::TProcess(TProcess&& other) noexcept : Info(other.Info) {
    other.Info = PROCESS_INFORMATION{};
}

TProcess::~TProcess() {
    if (!Info.hProcess)
        return;
    if (WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT)
        Terminate();
    CloseHandle(Info.hThread);
    CloseHandle(Info.hProcess);
}

bool TProcess::Wait(DWORD milliseconds) {
    return Info.hProcess && WaitForSingleObject(Info.hProcess, milliseconds) == WAIT_OBJECT_0;
}

DWORD TProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(Info.hProcess, &code);
    return code;
}

void TProcess::Terminate() {
    TerminateProcess(Info.hProcess, 1);
    WaitForSingleObject(Info.hProcess, 5000);
}

void PumpMessages(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now < 10 ? end - now : 10),
                                  QS_ALLINPUT);
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (!condition()) {
        if (GetTickCount64() >= end)
            return condition();
        PumpMessages(10);
    }
    return true;
}

HWND CreateTestWindow(const char* className, WNDPROC proc, const char* title, DWORD style, RECT place,
                      void* self) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, title, style, place.left, place.top, place.right - place.left,
                           place.bottom - place.top, nullptr, nullptr, windowClass.hInstance, self);
}

namespace {

struct TWindowSearch {
    const char* ClassName;
    const char* Title;
    DWORD ProcessId;
    HWND Found = nullptr;
    int Count = 0;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<TWindowSearch*>(data);
    char text[256];
    if (search.ClassName &&
        (!GetClassNameA(window, text, sizeof text) || lstrcmpA(text, search.ClassName) != 0))
        return TRUE;
    if (search.Title && (GetWindowTextA(window, text, sizeof text), lstrcmpA(text, search.Title) != 0))
        return TRUE;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (search.ProcessId && processId != search.ProcessId)
        return TRUE;
    if (!search.Found)
        search.Found = window;
    ++search.Count;
    return TRUE;
}

} // namespace

HWND FindTopWindow(const char* className, const char* title, DWORD processId) {
    TWindowSearch search{className, title, processId};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

HWND WaitForWindow(const char* className, const char* title, DWORD milliseconds, DWORD processId) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindTopWindow(className, title, processId)) != nullptr; }, milliseconds);
    return window;
}

int CountTopWindows(const char* className, const char* title) {
    TWindowSearch search{className, title, 0};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.Count;
}

bool Activate(HWND window) {
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD thisThread = GetCurrentThreadId();
    AttachThreadInput(thisThread, foregroundThread, TRUE);
    SetForegroundWindow(window);
    AttachThreadInput(thisThread, foregroundThread, FALSE);
    return WaitUntil([&] { return GetForegroundWindow() == window; }, 3000);
}

bool ActivateToStay(HWND window, DWORD steady, DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (GetTickCount64() < end)
        if (Activate(window) && !WaitUntil([&] { return GetForegroundWindow() != window; }, steady))
            return true;
    return false;
}

std::string DescribeWindow(HWND window) {
    if (!window)
        return "(no window)";
    char className[128] = "", title[128] = "", image[MAX_PATH] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    DWORD processId = 0, size = MAX_PATH;
    GetWindowThreadProcessId(window, &processId);
    const TUniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (process.Get())
        QueryFullProcessImageNameA(process.Get(), 0, image, &size);
    return std::string("\"") + title + "\" (" + className + ") of process " + std::to_string(processId) +
           " " + image;
}

namespace {

void SendKey(WORD virtualKey, bool extended, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, 0));
    input.ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
    SendInput(1, &input, sizeof input);
}

} // namespace

void KeyDown(WORD virtualKey, bool extended) {
    SendKey(virtualKey, extended, false);
}

void KeyUp(WORD virtualKey, bool extended) {
    SendKey(virtualKey, extended, true);
}

void TypeCombo(const std::vector<WORD>& modifiers, WORD virtualKey, bool extended) {
    for (WORD modifier : modifiers)
        KeyDown(modifier);
    KeyDown(virtualKey, extended);
    KeyUp(virtualKey, extended);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it)
        KeyUp(*it);
}

HWND WaitForMessageBox(const char* caption, DWORD milliseconds) {
    return WaitForWindow("#32770", caption, milliseconds);
}

std::string MessageBoxText(HWND box) {
    // The static control that carries a message box's text has the id 0xFFFF.
    return WindowText(GetDlgItem(box, 0xFFFF));
}

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string ErrorText(const std::function<void()>& call) {
    try {
        call();
    } catch (const TWordlarkError& error) {
        return error.what();
    }
    return "(no error)";
}

void ClearProgramRegistry() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Orvane");
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

TWordlark TWordlark::Start(const std::string& program, bool firstStart) {
    TWordlark wordlark;
    if (!firstStart && !ASettings::HasDictionaryList())
        ASettings::SetDictionaries({});
    // A copy that ended leaves its hook's handle in the block: the new copy's start is complete
    // only once its own handle replaces it.
    const HHOOK before = ASettings::GetHookHandle();
    wordlark.Process = std::make_unique<TProcess>(Quoted(program.empty() ? BuildFile("WL.exe") : program));
    if (wordlark.Process->Started())
        wordlark.Window =
            WaitForWindow("TConfigForm", "Wordlark Configuration", 15000, wordlark.Process->Id());
    const auto hooked = [&] {
        const HHOOK hook = ASettings::GetHookHandle();
        return ASettings::GetTargetWindow() == wordlark.Window && hook && hook != before;
    };
    if (wordlark.Window && !WaitUntil(hooked, 5000))
        std::fprintf(
            stderr,
            "WL.exe's hook was not in place within 5 s: target %p (WL.exe's %p), hook %p (%p before)\n",
            static_cast<void*>(ASettings::GetTargetWindow()), static_cast<void*>(wordlark.Window),
            static_cast<void*>(ASettings::GetHookHandle()), static_cast<void*>(before));
    return wordlark;
}

bool TWordlark::Quit() {
    PostMessageA(Window, WM_USER + 4, 0, 0);
    return Process->Wait(10000);
}

bool TWordlark::ShowWindow() {
    // The tray icon's callback with a left double-click.
    PostMessageA(Window, WM_USER + 3, 0, WM_LBUTTONDBLCLK);
    return WaitUntil([&] { return IsWindowVisible(Window) && ASettings::GetConfigWindowShown(); }, 5000) &&
           Activate(Window);
}

namespace {

struct TChildSearch {
    int Id;
    HWND Found = nullptr;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM data) {
    auto& search = *reinterpret_cast<TChildSearch*>(data);
    if (GetDlgCtrlID(child) != search.Id)
        return TRUE;
    search.Found = child;
    return FALSE;
}

} // namespace

HWND TWordlark::Control(int id) const {
    TChildSearch search{id};
    EnumChildWindows(Window, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

bool TWordlark::ShowPage(int page) {
    HWND tabs = Control(1001);
    // One press more than there are pages: the first may only take the focus out of a hot-key edit.
    for (int turn = 0; turn < 6; ++turn) {
        if (SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == page)
            return true;
        if (!Activate(Window))
            return false;
        const LRESULT before = SendMessageA(tabs, TCM_GETCURSEL, 0, 0);
        TypeCombo({VK_CONTROL}, VK_TAB);
        WaitUntil([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) != before; }, 3000);
    }
    return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == page;
}

std::string WindowText(HWND control) {
    std::wstring text(static_cast<size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(
        SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return Utf8FromUtf16(text);
}

namespace {

// Wide messages: the ANSI ones come back unconverted across processes under Wine.
std::vector<std::string> Lines(HWND control, UINT countMessage, UINT lengthMessage, UINT textMessage) {
    std::vector<std::string> lines;
    const LRESULT count = SendMessageW(control, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring line(static_cast<size_t>(SendMessageW(control, lengthMessage, i, 0)) + 1, L'\0');
        line.resize(static_cast<size_t>(
            SendMessageW(control, textMessage, i, reinterpret_cast<LPARAM>(line.data()))));
        lines.push_back(Utf8FromUtf16(line));
    }
    return lines;
}

} // namespace

std::vector<std::string> ListLines(HWND list) {
    return Lines(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<std::string> ComboLines(HWND combo) {
    return Lines(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

int ListSelection(HWND list) {
    return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
}

int ComboSelection(HWND combo) {
    return static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
}

void Click(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    INPUT inputs[3]{};
    for (INPUT& input : inputs)
        input.type = INPUT_MOUSE;
    // Every event carries the position, so that the buttons cannot land where the pointer was.
    const DWORD flags[3] = {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 3; ++i) {
        inputs[i].mi.dx = MulDiv(centre.x, 65535, width - 1);
        inputs[i].mi.dy = MulDiv(centre.y, 65535, height - 1);
        inputs[i].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags[i];
    }
    // Wine moves the pointer asynchronously: the buttons go only where the move has arrived.
    SendInput(1, &inputs[0], sizeof inputs[0]);
    WaitUntil(
        [&] {
            POINT cursor{};
            GetCursorPos(&cursor);
            return std::abs(cursor.x - centre.x) <= 1 && std::abs(cursor.y - centre.y) <= 1;
        },
        2000);
    PumpMessages(50);
    SendInput(2, &inputs[1], sizeof inputs[0]);
    PumpMessages(250);
}

void TypeText(const std::string& text) {
    for (char c : text) {
        const SHORT key = VkKeyScanA(c);
        std::vector<WORD> modifiers;
        if (key & 0x100)
            modifiers.push_back(VK_SHIFT);
        TypeCombo(modifiers, static_cast<WORD>(key & 0xFF));
    }
    PumpMessages(200);
}

void TypeUnicode(const std::wstring& text) {
    for (wchar_t unit : text)
        for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = static_cast<WORD>(unit);
            input.ki.dwFlags = KEYEVENTF_UNICODE | up;
            SendInput(1, &input, sizeof input);
        }
    PumpMessages(200);
}

std::string AnswerMessageBox(const char* caption, int buttonId, DWORD milliseconds) {
    HWND box = WaitForMessageBox(caption, milliseconds);
    if (!box)
        return "";
    const std::string text = MessageBoxText(box);
    PressButton(box, buttonId);
    WaitUntil([&] { return !IsWindow(box); }, 3000);
    return text;
}

bool AnswerOpenDialog(const std::string& path, DWORD milliseconds) {
    HWND dialog = WaitForWindow("#32770", "Open", milliseconds);
    if (!dialog)
        return false;
    if (path.empty()) {
        PressButton(dialog, IDCANCEL);
    } else {
        // The file name box: a combo box (cmb13) in the system's dialog, an edit (edt1) in others.
        HWND name = GetDlgItem(dialog, 0x47C);
        if (!name)
            name = GetDlgItem(dialog, 0x480);
        SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PressButton(dialog, IDOK);
    }
    return WaitUntil([&] { return !IsWindow(dialog); }, 5000);
}

bool AnswerOpenDialog(const std::string& folder, const std::vector<std::string>& names, DWORD milliseconds) {
    HWND dialog = WaitForWindow("#32770", "Open", milliseconds);
    if (!dialog)
        return false;
    std::string chosen;
    for (const std::string& file : names)
        chosen += "\"" + file + "\" ";
    // A folder typed into the name box is opened; names in quotes are then chosen there together.
    for (const std::string& text : {folder, chosen}) {
        HWND name = GetDlgItem(dialog, 0x47C) ? GetDlgItem(dialog, 0x47C) : GetDlgItem(dialog, 0x480);
        SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        PressButton(dialog, IDOK);
        PumpMessages(300);
    }
    return WaitUntil([&] { return !IsWindow(dialog); }, 5000);
}

namespace {

// Sends a list view message whose parameter points at `item` with its text buffer to a list of
// another process: both are placed in that process, where the list uses them. Returns the text.
template <class T> std::string RemoteListText(HWND list, UINT message, WPARAM wParam, T item) {
    DWORD processId = 0;
    GetWindowThreadProcessId(list, &processId);
    const TUniqueHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    constexpr int Units = 2048;
    auto* remote = static_cast<char*>(VirtualAllocEx(
        process.Get(), nullptr, sizeof item + Units * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    std::wstring text(Units, L'\0');
    item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof item);
    item.cchTextMax = Units;
    if (remote && WriteProcessMemory(process.Get(), remote, &item, sizeof item, nullptr)) {
        SendMessageW(list, message, wParam, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process.Get(), item.pszText, text.data(), Units * sizeof(wchar_t), nullptr);
    }
    if (remote)
        VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
    return Utf8FromUtf16(text.substr(0, text.find(L'\0')));
}

} // namespace

std::vector<std::vector<std::string>> ListViewRows(HWND list, int columns) {
    std::vector<std::vector<std::string>> rows(
        static_cast<std::size_t>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (int column = 0; column < columns; ++column) {
            LVITEMW item{};
            item.iSubItem = column;
            rows[row].push_back(RemoteListText(list, LVM_GETITEMTEXTW, row, item));
        }
    return rows;
}

std::vector<std::pair<std::string, int>> ListViewColumns(HWND list) {
    std::vector<std::pair<std::string, int>> columns;
    const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    for (WPARAM column = 0; header && column < static_cast<WPARAM>(Header_GetItemCount(header)); ++column) {
        LVCOLUMNW item{};
        item.mask = LVCF_TEXT;
        columns.emplace_back(RemoteListText(list, LVM_GETCOLUMNW, column, item),
                             static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0)));
    }
    return columns;
}

void SelectListLine(HWND list, int line) {
    SendMessageA(list, LB_SETSEL, FALSE, -1);
    SendMessageA(list, LB_SETSEL, TRUE, line);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

} // namespace TestSupport
