#include "EditAndLookupFrm.h"

#include <algorithm>
#include <vector>

#include "CaptionFit.h"
#include "ControlText.h"
#include "EditAndLookupFrmRes.h"
#include "ErrorBox.h"
#include "UnicodeText.h"
#include "WinApiHacks.h"

namespace {

// The open dialogs, on the program's one UI thread.
std::vector<TEditAndLookupForm*> OpenForms;

} // namespace

void TEditAndLookupForm::ShowEditAndLookup(HINSTANCE instance, const std::string& caption,
                                           const std::string& prompt, TEditAndLookupResultEvent onResult,
                                           HWND previousForegroundWindow, const std::string& text) {
    auto* form = new TEditAndLookupForm;
    form->OnResult = std::move(onResult);
    form->PreviousForegroundWindow = previousForegroundWindow;
    // A Unicode dialog, so that its edit shows and takes text in any script.
    if (!CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_EDITANDLOOKUPFORM), nullptr, DialogProc,
                            reinterpret_cast<LPARAM>(form))) {
        // WM_NCDESTROY frees a form whose window existed; this one never had one.
        if (!form->Window)
            delete form;
        return;
    }
    SetWindowTextW(form->Window, Utf16FromUtf8(caption).c_str());
    SetDlgItemTextW(form->Window, IDC_PROMPTLABEL, Utf16FromUtf8(prompt).c_str());
    SetDlgItemTextW(form->Window, IDC_TEXTEDIT, Utf16FromUtf8(text).c_str());
    FitCaptions(form->Window);
    ShowWindow(form->Window, SW_SHOW);
    form->FormShow();
}

void TEditAndLookupForm::CloseAll() {
    while (!OpenForms.empty()) {
        TEditAndLookupForm* form = OpenForms.back();
        form->Closing = true;
        DestroyWindow(form->Window);
    }
}

bool IsEditAndLookupForm(HWND window) {
    return std::any_of(OpenForms.begin(), OpenForms.end(),
                       [window](const TEditAndLookupForm* form) { return form->Handle() == window; });
}

INT_PTR CALLBACK TEditAndLookupForm::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* form = reinterpret_cast<TEditAndLookupForm*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        form->Window = window;
        OpenForms.push_back(form);
        return FALSE; // the focus is placed when the dialog is shown
    }
    auto* form = reinterpret_cast<TEditAndLookupForm*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!form)
        return FALSE;
    if (message == WM_NCDESTROY) {
        // The last message the window sees: only now may its object go.
        SetWindowLongPtrA(window, DWLP_USER, 0);
        OpenForms.erase(std::remove(OpenForms.begin(), OpenForms.end(), form), OpenForms.end());
        delete form;
        return FALSE;
    }
    try {
        switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK)
                form->OkButtonClick();
            else if (LOWORD(wParam) == IDCANCEL)
                form->CancelButtonClick();
            else
                return FALSE;
            return TRUE;
        case WM_CLOSE:
            // The title bar's close box and the system menu's Close keep the text, like OK; the
            // dialog manager would turn them into Cancel.
            form->FormClose();
            return TRUE;
        }
    } catch (...) {
        ShowCaughtError(window);
    }
    return FALSE;
}

void TEditAndLookupForm::FormShow() {
    ForceForegroundWindow(Window);
    HWND edit = GetDlgItem(Window, IDC_TEXTEDIT);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
}

void TEditAndLookupForm::OkButtonClick() {
    FormClose();
}

void TEditAndLookupForm::CancelButtonClick() {
    SetDlgItemTextW(Window, IDC_TEXTEDIT, L"");
    FormClose();
}

void TEditAndLookupForm::FormClose() {
    // The result may show a message box, during which the dialog still takes clicks: it closes once.
    if (Closing)
        return;
    Closing = true;
    const std::string text = Utf8FromUtf16(ControlWideText(GetDlgItem(Window, IDC_TEXTEDIT)));
    HWND previous = nullptr;
    {
        // Freed on every path, also when the result fails; `this` is gone after this block.
        struct TDestroyOnExit {
            HWND Window;
            ~TDestroyOnExit() { DestroyWindow(Window); }
        } destroy{Window};
        if (OnResult)
            OnResult(*this, text);
        // Read after the result, which may have given the foreground to a window of its own.
        previous = PreviousForegroundWindow;
    }
    // Back to the program the user came from, after the lookup and any failure message.
    if (previous)
        SetForegroundWindow(previous);
}
