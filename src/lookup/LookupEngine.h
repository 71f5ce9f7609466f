// TLookupEngine: from a hot key to the browser. It copies the selection of the program in front,
// cleans it into the lookup text, gives the user's clipboard back and runs the hot key's mode:
// Quick Lookup, the link menu, or the Edit-and-Lookup dialog. Every lookup ends in LookupOnWebLink.
//
// The configuration window owns the engine and hands it the hot-key message, its own posted
// clipboard-changed message and the expiry of the no-selection timer; the engine uses the window for
// its timer, for the foreground and as the program's handle. Main (GUI) thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "AnswerText.h"
#include "DictionaryShelf.h"
#include "EditAndLookupFrm.h"
#include "WinHandles.h"
#include "WordSearch.h"

class TLookupEngine {
public:
    // The timer id that the window passes on with WM_TIMER.
    static constexpr UINT_PTR NoSelectedTextTimerId = 0x5E1;
    static constexpr unsigned HotKeyWaitMs = 500, NoSelectedTextMs = 500, SettleWaitMs = 100,
                              ReadTimeoutMs = 500, MaximumTextLength = 2000, HotKeyReleaseWaitMs = 300;

    TLookupEngine() = default;
    TLookupEngine(const TLookupEngine&) = delete;
    TLookupEngine& operator=(const TLookupEngine&) = delete;
    ~TLookupEngine();

    // The window that receives the timer; `instance` holds the dialog template.
    void Attach(HWND window, HINSTANCE instance);
    HWND Handle() const { return Window; }

    // --- Controller ---
    void HotKeyPressed(int index);
    void ClipboardChanged();
    void NoSelectedTextTimerTimer();
    void SetLaunchFromClipboard(bool value);

    int HotKeyIndex = 0;
    bool LaunchFromClipboard = false;
    std::uint64_t ClipboardDeadline = 0; // on the Clock, in milliseconds
    bool ClipboardSaved = false;
    std::string LookupText; // UTF-8

    // A monotonic clock in milliseconds and the settle wait; tests may replace both.
    std::function<std::uint64_t()> Clock = [] { return static_cast<std::uint64_t>(GetTickCount64()); };
    std::function<void(unsigned milliseconds)> SettleWait = [](unsigned milliseconds) {
        Sleep(milliseconds);
    };

    // --- Link menu and Edit-and-Lookup dialog ---
    void ShowWebLinksMenu();
    void WebLinkMenuItemClick(int tag);
    void OpenEditAndLookup();
    void EditAndLookupDone(TEditAndLookupForm& sender, const std::string& text);

    void DictionariesMenuItemClick();

    HWND MenuForegroundWindow = nullptr;

    // --- The user's dictionaries and the answer window (DictionaryLookup.cpp) ---
    // The longest word that is looked for in the dictionaries; a longer selection is not a word.
    static constexpr std::size_t MaxDictionaryWord = 255;
    // How long a lookup waits for the dictionaries that are still being opened.
    static constexpr unsigned DictionaryWaitMs = 5000;
    // How long after the program's start its dictionaries are left unread, so that their reading
    // does not compete with the start of the program and of others; a lookup does not wait for it.
    static constexpr unsigned DictionaryStartDelayMs = 1000;
    // Reads the stored list and opens its dictionaries in the background, after the delay; `opened`
    // is told on that thread what the opening gave.
    void OpenDictionaries(unsigned delayMs = 0, TDictionaryShelf::TOpened opened = {});
    // Looks LookupText up in the listed dictionaries and shows what they have in the answer window,
    // beside the word in `source`; true when the window shows it. When none has it, the window
    // shows that only if sayNotFound is set; with no dictionary listed nothing is shown.
    bool LookupInDictionaries(HWND source, bool sayNotFound);
    // The entries that the listed dictionaries have for `word`, in their order, or when none has
    // it, those of its other forms (English ones and the stems of listed word lists), and the
    // files that could not be read. Every lookup in the dictionaries goes through here.
    TWordSearch SearchDictionaries(const std::string& word);
    // WordNet's English word forms from the program's resource, parsed on a thread of their own
    // from OpenDictionaries on (or at the first use); the rules alone when the module carries no
    // such resource.
    void PrepareEnglishForms();
    const TEnglishForms& EnglishForms();
    // Headwords of the listed dictionaries close to `word`, which none has: at most MaxCloseWords.
    static constexpr std::size_t MaxCloseWords = 10;
    std::vector<std::string> CloseWords(const std::string& word);
    // Quick Lookup's answer: the dictionaries first, then the default link.
    void LookupWordFirstInDictionaries(HWND source);

    // --- URL construction and browser launch (LookupUrl.cpp) ---
    void LookupOnWebLink(const std::string& description);
    void LaunchUrl(const std::string& description, const std::string& url);
    void LaunchBrowser(const std::string& url, const std::string& description, bool newWindow);
    void SplitBrowserCommand(std::string& program, std::string& parameters);
    std::string UrlEncode(const std::string& text);
    std::string GetBrowserCommand();
    bool IsBrowserFirefox();
    void AddPredefinedSiteTag(std::string& url);

private:
    void RunMode();

    HWND Window = nullptr;
    HINSTANCE Instance = nullptr;
    bool TimerArmed = false;
    DWORD CopySequence = 0; // the clipboard's sequence number when the copy keystroke was sent
    TMenu WebLinksPopupMenu;
    TDictionaryShelf Shelf;
    std::shared_future<std::shared_ptr<const TEnglishForms>> Forms;
    // The files that the answer window has already said it could not read: said once.
    std::set<std::string> ToldUnreadable;
};
