#include "LookupEngine.h"

#include <vector>

#include "AnswerFrm.h"
#include "ClipboardLib.h"
#include "LookupText.h"
#include "Settings.h"
#include "UnicodeText.h"
#include "WinApiHacks.h"

namespace {

constexpr const char* EditAndLookupCaption = "Wordlark Lookup";
// Menu command ids are link indexes plus one: TrackPopupMenu reports "no choice" as 0. The
// dictionaries' entry lies beyond every link index.
constexpr UINT FirstLinkCommand = 1, DictionariesCommand = 0xD1C7;
constexpr const char* DictionariesCaption = "&Dictionaries";

} // namespace

TLookupEngine::~TLookupEngine() {
    // Open dialogs hold results bound to this engine. The timer goes with its window.
    TEditAndLookupForm::CloseAll();
    TAnswerForm::CloseAll();
}

void TLookupEngine::Attach(HWND window, HINSTANCE instance) {
    Window = window;
    Instance = instance;
}

// --- Controller ---

void TLookupEngine::HotKeyPressed(int index) {
    HotKeyIndex = index;
    const TKeyCombo hotKey = ASettings::GetKeyCombo(HotKeyIndex);
    // The user's own release of the hot key is let through first: a Ctrl let go between the copy
    // keystroke's Ctrl and its C would make the program in front type a "c" over the selection
    // (Windows keeps one SendInput together; Wine does not keep it apart from another program's
    // input). A modifier held longer is released below, as before.
    WaitForModifiersUp(hotKey, HotKeyReleaseWaitMs);
    SetLaunchFromClipboard(true);
    ClipboardDeadline = Clock() + HotKeyWaitMs;
    ClipboardSaved = SaveClipboard();
    CopySequence = GetClipboardSequenceNumber();
    // The hot key's keys may still be down in the program in front: released first, they cannot
    // combine with the copy keystroke there.
    SendCopyKeystroke(hotKey);
}

void TLookupEngine::SetLaunchFromClipboard(bool value) {
    LaunchFromClipboard = value;
    // SetTimer on a running timer would restart its period: a second hot key while waiting keeps
    // the first one's expiry.
    if (value && !TimerArmed)
        TimerArmed = SetTimer(Window, NoSelectedTextTimerId, NoSelectedTextMs, nullptr) != 0;
    else if (!value && TimerArmed) {
        KillTimer(Window, NoSelectedTextTimerId);
        TimerArmed = false;
    }
}

void TLookupEngine::ClipboardChanged() {
    // Every clipboard change in the system arrives here, from clipboard managers and remote
    // sessions too; a pause on the program's only thread is paid for a waiting lookup alone.
    if (!LaunchFromClipboard)
        return;
    // The program that copied may still be placing further formats.
    SettleWait(SettleWaitMs);
    if (Clock() >= ClipboardDeadline)
        return;
    // The notice of a copy made before the hot key (the user's own, a moment earlier) may arrive
    // only now; that copy is not the selection. Zero means the system would not tell.
    if (CopySequence != 0 && GetClipboardSequenceNumber() == CopySequence)
        return;
    LookupText.clear();
    if (!ReadClipboardText(ReadTimeoutMs, MaximumTextLength, LookupText) || LookupText.empty())
        return;
    CleanLookupText(LookupText);
    // Idle before the restore, so that the change the restore makes is ignored.
    SetLaunchFromClipboard(false);
    if (ClipboardSaved)
        RestoreClipboard();
    RunMode();
}

void TLookupEngine::NoSelectedTextTimerTimer() {
    // A WM_TIMER already queued when the wait ended is not an expiry.
    if (!TimerArmed)
        return;
    SetLaunchFromClipboard(false);
    if (HotKeyIndex == 2) {
        LookupText.clear();
        OpenEditAndLookup();
    }
}

void TLookupEngine::RunMode() {
    switch (HotKeyIndex) {
    case 0:
        LookupWordFirstInDictionaries(GetForegroundWindow());
        break;
    case 1:
        ShowWebLinksMenu();
        break;
    case 2:
        OpenEditAndLookup();
        break;
    }
}

// --- Link menu ---

void TLookupEngine::ShowWebLinksMenu() {
    // The user's dictionaries come first while any is listed.
    const bool withDictionaries = !ASettings::GetDictionaries().empty();
    std::vector<std::string> captions;
    if (withDictionaries)
        captions.push_back(DictionariesCaption);
    const std::size_t heading = captions.size();
    captions.push_back(LinkMenuHeading(LookupText));
    const std::vector<TWebLink> links = ASettings::GetLinks();
    for (const TWebLink& link : links)
        captions.push_back(LinkMenuCaption(link.Description));
    // Accelerators are given once, the heading included, so that no entry takes the one the heading
    // got; then the heading loses every "&", its accelerator and any from the lookup text.
    AssignMenuAccelerators(captions);
    captions[heading] = WithoutAmpersands(captions[heading]);

    WebLinksPopupMenu = TMenu(CreatePopupMenu());
    HMENU menu = WebLinksPopupMenu.Get();
    if (!menu)
        return;
    if (withDictionaries) {
        AppendMenuW(menu, MF_STRING, DictionariesCommand, Utf16FromUtf8(captions[0]).c_str());
        AppendMenuW(menu, MF_SEPARATOR | MF_GRAYED, 0, nullptr);
    }
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 0, Utf16FromUtf8(captions[heading]).c_str());
    AppendMenuW(menu, MF_SEPARATOR | MF_GRAYED, 0, nullptr);
    for (std::size_t i = 0; i < links.size(); ++i)
        AppendMenuW(menu, MF_STRING, FirstLinkCommand + static_cast<UINT>(i),
                    Utf16FromUtf8(captions[heading + 1 + i]).c_str());

    MenuForegroundWindow = GetForegroundWindow();
    const UINT command = PopupMenuAtCursor(menu);
    if (command == DictionariesCommand)
        DictionariesMenuItemClick();
    else if (command >= FirstLinkCommand)
        WebLinkMenuItemClick(static_cast<int>(command - FirstLinkCommand));
    // Dismissed without a choice: the program the user came from gets the keyboard back.
    if (MenuForegroundWindow)
        SetForegroundWindow(MenuForegroundWindow);
}

void TLookupEngine::WebLinkMenuItemClick(int tag) {
    MenuForegroundWindow = nullptr;
    // Resolved again by description, as the links may have changed while the menu was open.
    LookupOnWebLink(ASettings::ReadLink(tag).Description);
}

// --- Edit-and-Lookup dialog ---

void TLookupEngine::OpenEditAndLookup() {
    const HWND previous = GetForegroundWindow();
    const std::string prompt = "Look up on " + ASettings::GetDefaultLink() + ":";
    TEditAndLookupForm::ShowEditAndLookup(
        Instance, EditAndLookupCaption, prompt,
        [this](TEditAndLookupForm& sender, const std::string& text) { EditAndLookupDone(sender, text); },
        previous, LookupText);
}

void TLookupEngine::EditAndLookupDone(TEditAndLookupForm& sender, const std::string& text) {
    if (text.empty())
        return;
    LookupText = text;
    // The answer window takes the foreground from the dialog, and gives it back to the program the
    // word came from; the dialog must not take it from the answer when it closes.
    if (LookupInDictionaries(sender.PreviousForegroundWindow, false)) {
        sender.PreviousForegroundWindow = nullptr;
        return;
    }
    // The default at this moment, not the one the prompt named when the dialog opened.
    LookupOnWebLink(ASettings::GetDefaultLink());
}
