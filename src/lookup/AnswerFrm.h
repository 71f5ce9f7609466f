// TAnswerForm: the window that shows what the user's dictionaries say about a word, beside the
// word. There is at most one; a new answer replaces the content of the one that is open. It takes
// the foreground, so that its keys work at once; Escape closes it and gives the foreground back to
// the program the word came from, and it closes when the user works elsewhere.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "AnswerText.h"
#include "WinHandles.h"

// What one answer shows (texts UTF-8).
struct TAnswer {
    std::string Word; // the caption
    std::vector<TAnswerParagraph> Paragraphs;
    std::string WebLinkDescription; // named on the button that looks the word up on the web
};

class TAnswerForm {
public:
    using TAction = std::function<void()>;

    // Shows the answer, in front, and returns the window (null when it could not be made). `source`
    // is the window the word came from: the answer goes below its caret, or below the pointer when
    // it has none. When the answer window itself is the source (a word selected in it), it stays
    // where it is and keeps the source it had. The actions run after the window has closed.
    static HWND ShowAnswer(HINSTANCE instance, const TAnswer& answer, HWND source, TAction onWebLookup,
                           TAction onMoreLinks);
    static HWND Current();
    // Destroys the window without giving the foreground anywhere (the program is ending).
    static void CloseAll();
    // For the program's message loop: Escape closes the window, and the dialog keys work in it.
    static bool PreTranslateMessage(MSG& message);

private:
    TAnswerForm() = default;
    TAnswerForm(const TAnswerForm&) = delete;
    TAnswerForm& operator=(const TAnswerForm&) = delete;
    ~TAnswerForm() = default;

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void FormCreate();
    // The caption, the web button's caption and the paragraphs; the text goes in with the layout.
    void SetContent(const TAnswer& answer);
    void FillText();
    // The window's size for its content on the monitor of `anchor`, the controls laid out in it and
    // the text filled in.
    SIZE LayOut(const TScreenBox& anchor);
    void FormDeactivated();
    // Destroys the window, `this` with it; with giveBack the source gets the foreground again.
    void Close(bool giveBack);
    void RunAfterClose(TAction action);

    HWND Window = nullptr;
    HWND Text = nullptr;
    bool RichText = false;
    HWND Source = nullptr;
    TAction OnWebLookup, OnMoreLinks;
    std::vector<TAnswerParagraph> Paragraphs;
    TGdiObject BoldFont, HeadingFont, NoticeFont;
};
