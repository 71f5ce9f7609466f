// TAnswerForm: the window that shows what the user's dictionaries say about a word, beside the
// word. There is at most one; a new answer replaces the content of the one that is open. It takes
// the foreground, so that its keys work at once; Escape closes it and gives the foreground back to
// the program the word came from, and it closes when the user works elsewhere unless "Keep open"
// is checked. Its links are followed in it, with a history to go back and forward; the size the
// user gives it and the text's zoom are kept for the next windows.
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
    // Looks a word up and shows it in the window (the window itself is the source).
    using TFollow = std::function<void(const std::string& word)>;

    // Shows the answer, in front, and returns the window (null when it could not be made). `source`
    // is the window the word came from: the answer goes below its caret, or below the pointer when
    // it has none. When the answer window itself is the source (a word selected in it), it stays
    // where it is and keeps the source it had; so does a window kept open, which then leaves the
    // foreground to the source. The actions run after the window has closed.
    static HWND ShowAnswer(HINSTANCE instance, const TAnswer& answer, HWND source, TAction onWebLookup,
                           TAction onMoreLinks, TFollow onFollow);
    static HWND Current();
    // Destroys the window without giving the foreground anywhere (the program is ending).
    static void CloseAll();
    // For the program's message loop: Escape closes the window; the keys of its links, history
    // and zoom; the dialog keys.
    static bool PreTranslateMessage(MSG& message);

private:
    TAnswerForm() = default;
    TAnswerForm(const TAnswerForm&) = delete;
    TAnswerForm& operator=(const TAnswerForm&) = delete;
    ~TAnswerForm() = default;

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK TextControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR id, DWORD_PTR data);
    void FormCreate();
    bool HandleKey(const MSG& message);
    // The fonts of the text at the zoom; the control takes the normal one.
    void MakeFonts();
    void SetZoom(int zoom);
    // The text control and the foot placed in a client area of this size.
    void Arrange(int clientWidth, int clientHeight);
    void ChooseLink(int index);
    // The link at a point of the text control's client area, or -1.
    int LinkAt(POINT point) const;
    // Looks `word` up in this window once the current message is done; `navigating` when it comes
    // from the history, which then stays as it is.
    void Follow(const std::string& word, bool navigating);
    void SizeMoveEnded();
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
    TFollow OnFollow;
    std::vector<TAnswerParagraph> Paragraphs;
    std::vector<TAnswerLink> Links; // where the text control has them
    int Chosen = -1;                // the link chosen from the keyboard
    TAnswerHistory History;
    bool Navigating = false, PendingNavigating = false;
    std::string PendingWord;
    int Zoom = NormalZoom;
    bool KeepOpen = false;
    SIZE SizeBeforeMove{};
    // The foot's measures, from the last layout.
    int Padding = 0, Gap = 0, ButtonHeight = 0, WebWidth = 0, MoreWidth = 0, KeepWidth = 0;
    RECT TextRect{};
    TGdiObject TextFont, BoldFont, HeadingFont, NoticeFont;
};
