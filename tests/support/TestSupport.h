// What the Wine-tier tests need to drive real programs from outside, as Windows would: helper
// processes, windows found by class and title, synthesized keys, message boxes, the registry.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace TestSupport {

// Folder of the running test program (helpers and the deliverables are built beside it or above).
std::string ExeDir();
// Path of a file in the build's output tree: the test folder, then the deliverables' folder.
std::string BuildFile(const std::string& name);
// A temporary file name in the prefix's temporary folder that no run has used before.
std::string TempFile(const std::string& stem);
std::string ReadFile(const std::string& path);
std::vector<std::string> ReadLines(const std::string& path);

// A started process; terminated when the object goes out of scope while it still runs.
class TProcess {
public:
    explicit TProcess(const std::string& commandLine);
    TProcess(TProcess&& other) noexcept;
    TProcess(const TProcess&) = delete;
    TProcess& operator=(const TProcess&) = delete;
    ~TProcess();
    bool Started() const { return Info.hProcess != nullptr; }
    DWORD Id() const { return Info.dwProcessId; }
    HANDLE Handle() const { return Info.hProcess; }
    // True when the process ended within the time; its exit code is then in ExitCode.
    bool Wait(DWORD milliseconds);
    DWORD ExitCode() const;
    void Terminate();
    // "not started", "running" or "ended with exit code N", for a wait that ran out to say.
    std::string Describe();

private:
    PROCESS_INFORMATION Info{};
};

// Runs the messages of this thread for a while.
void PumpMessages(DWORD milliseconds);
// Pumps messages until the condition holds or the time runs out; returns the condition.
bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds);

// A top-level window of this process, its class registered on first use with the procedure;
// `self` arrives as the creation parameter.
HWND CreateTestWindow(const char* className, WNDPROC proc, const char* title, DWORD style, RECT place,
                      void* self);

// For the procedure of such a window: the `self` given at creation (kept from WM_NCCREATE on),
// or null before it arrives.
template <class T> T* WindowSelf(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    return reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// A top-level window by class and title (either may be null), optionally of one process.
HWND FindTopWindow(const char* className, const char* title, DWORD processId = 0);
HWND WaitForWindow(const char* className, const char* title, DWORD milliseconds, DWORD processId = 0);
int CountTopWindows(const char* className, const char* title);

// Brings a window of another process to the foreground (attaching to the foreground thread's input).
bool Activate(HWND window);
// Brings the window to the front, again if something takes it away, until it has stayed there for
// `steady` milliseconds; false when that did not happen within `milliseconds`.
bool ActivateToStay(HWND window, DWORD steady = 300, DWORD milliseconds = 5000);
// Class, title and program of a window, for a wait that ran out to say what it saw.
std::string DescribeWindow(HWND window);

// Synthesized keyboard input through SendInput; extended sets KEYEVENTF_EXTENDEDKEY.
void KeyDown(WORD virtualKey, bool extended = false);
void KeyUp(WORD virtualKey, bool extended = false);
// Modifiers down in order, the key down and up, the modifiers up in reverse order.
void TypeCombo(const std::vector<WORD>& modifiers, WORD virtualKey, bool extended = false);

// Message boxes of any process, found by caption.
HWND WaitForMessageBox(const char* caption, DWORD milliseconds);
// UTF-8, as every text of another process's control here.
std::string MessageBoxText(HWND box);
void PressButton(HWND dialog, int id);

// The message of the project error that the call raises, or "(no error)".
std::string ErrorText(const std::function<void()>& call);

// Removes HKEY_CURRENT_USER\Software\Orvane (everything the program stores).
void ClearProgramRegistry();

std::string Quoted(const std::string& path);

// A started WL.exe (by default the one built) with its configuration window; start-up is complete
// once the hook is in place for that window. The caller links the shared block. Unless it is the
// `firstStart`, an empty list of dictionaries is stored where none is, so that the ones beside the
// program are not listed.
struct TWordlark {
    std::unique_ptr<TProcess> Process;
    HWND Window = nullptr;

    static TWordlark Start(const std::string& program = std::string(), bool firstStart = false);
    // Posts the quit request and waits for the process to end.
    bool Quit();
    // The window shown as by a double-click on the tray icon, and in front.
    bool ShowWindow();
    // Control `id` of the window or of one of its pages.
    HWND Control(int id) const;
    // Turns the pages with Ctrl+Tab, as a user at the keyboard does, until `page` is shown.
    bool ShowPage(int page);
};

// The text of a control of another process, in UTF-8.
std::string WindowText(HWND control);
// The lines of a list box or a drop-down list of another process, and its selected line (-1: none).
std::vector<std::string> ListLines(HWND list);
std::vector<std::string> ComboLines(HWND combo);
int ListSelection(HWND list);
int ComboSelection(HWND combo);

// A left click in the middle of a control, through the input queue (the window must be in front).
void Click(HWND control);
// Types text as key presses into whatever has the focus (letters, digits, blanks and a few signs).
void TypeText(const std::string& text);
// Types characters of any script as the system's Unicode key events, one per UTF-16 unit.
void TypeUnicode(const std::wstring& text);
// Waits for a message box by caption, takes its text and presses a button; "" when none came.
std::string AnswerMessageBox(const char* caption, int buttonId, DWORD milliseconds = 5000);
// Waits for another process's Open dialog and chooses the file by its full path, or cancels the
// dialog when the path is empty; false when no dialog came or it did not close.
bool AnswerOpenDialog(const std::string& path, DWORD milliseconds = 5000);
// The same for several files of one folder, chosen together as a user does: the folder opened
// first, then the names typed in quotes.
bool AnswerOpenDialog(const std::string& folder, const std::vector<std::string>& names,
                      DWORD milliseconds = 5000);
// The cells of another process's list view (report view), row by row.
std::vector<std::vector<std::string>> ListViewRows(HWND list, int columns);
// The headings of its columns and their widths in pixels.
std::vector<std::pair<std::string, int>> ListViewColumns(HWND list);
// Selects one line of another process's multiple-selection list, the others cleared, and tells
// the list's owner as a click would.
void SelectListLine(HWND list, int line);

} // namespace TestSupport
