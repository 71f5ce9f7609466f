// TEditAndLookupForm: the small modeless dialog in which the user edits the captured text before it
// is looked up. Each dialog has no owner, lives while it is open and frees itself after it closes;
// several can be open at once.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class TEditAndLookupForm;
// Called once when the dialog closes, with the final text (UTF-8): empty after Cancel or Escape.
using TEditAndLookupResultEvent = std::function<void(TEditAndLookupForm& sender, const std::string& text)>;

class TEditAndLookupForm {
public:
    // Shows a new dialog in front and returns at once; the dialog's template comes from `instance`.
    // The texts are UTF-8.
    static void ShowEditAndLookup(HINSTANCE instance, const std::string& caption, const std::string& prompt,
                                  TEditAndLookupResultEvent onResult, HWND previousForegroundWindow,
                                  const std::string& text);
    // Destroys every open dialog without a result (the program is ending).
    static void CloseAll();

    HWND Handle() const { return Window; }

    TEditAndLookupResultEvent OnResult;
    HWND PreviousForegroundWindow = nullptr;

private:
    TEditAndLookupForm() = default;
    TEditAndLookupForm(const TEditAndLookupForm&) = delete;
    TEditAndLookupForm& operator=(const TEditAndLookupForm&) = delete;
    ~TEditAndLookupForm() = default;

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void FormShow();
    void FormClose();
    void OkButtonClick();
    void CancelButtonClick();

    HWND Window = nullptr;
    bool Closing = false;
};

// True for a window whose keyboard input the dialog manager should handle (Tab, Enter, Escape).
bool IsEditAndLookupForm(HWND window);
