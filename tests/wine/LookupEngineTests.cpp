// The lookup engine in this process, on a window of its own, with its clock and settle wait replaced:
// the controller's deadlines and states against the real clipboard, and the link menu as built.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "LookupSupport.h"
#include "ProgramTest.h"
#include "Settings.h"
#include "lookup/ClipboardLib.h"
#include "lookup/LookupEngine.h"

using namespace TestSupport;

namespace {

LRESULT CALLBACK EngineWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* engine = WindowSelf<TLookupEngine>(window, message, lParam);
    if (engine && message == WM_TIMER && wParam == TLookupEngine::NoSelectedTextTimerId) {
        engine->NoSelectedTextTimerTimer();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

struct TMenuEntry {
    std::string Caption;
    bool Enabled;
    bool operator==(const TMenuEntry& other) const {
        return Caption == other.Caption && Enabled == other.Enabled;
    }
};

void PrintTo(const TMenuEntry& entry, std::ostream* out) {
    *out << '"' << entry.Caption << '"' << (entry.Enabled ? "" : " (disabled)");
}

// The entries of the pop-up menu that this process shows, read from another thread; then Escape.
std::vector<TMenuEntry> ReadShownMenuAndDismiss() {
    std::vector<TMenuEntry> entries;
    HWND menuWindow = nullptr;
    WaitUntil(
        [&] {
            menuWindow = FindTopWindow("#32768", nullptr, GetCurrentProcessId());
            return menuWindow && IsWindowVisible(menuWindow);
        },
        5000);
    if (!menuWindow)
        return entries;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char caption[256] = "";
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = caption;
        info.cch = sizeof caption;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        entries.push_back({info.fType & MFT_SEPARATOR ? "-" : caption, !(info.fState & MFS_DISABLED)});
    }
    TypeCombo({}, VK_ESCAPE);
    return entries;
}

} // namespace

class Engine : public TProgramTest {
protected:
    void SetUp() override {
        TProgramTest::SetUp();
        Browser = std::make_unique<TStubBrowser>();
        Window = CreateTestWindow("WordlarkEngineTest", EngineWindowProc, "Engine Test", WS_OVERLAPPEDWINDOW,
                                  RECT{50, 50, 350, 250}, &Lookup);
        Lookup.Attach(Window, GetModuleHandleA(nullptr));
        Lookup.Clock = [this] { return Now; };
        Lookup.SettleWait = [this](unsigned milliseconds) { Waited += milliseconds; };
    }
    void TearDown() override {
        DestroyWindow(Window);
        Browser.reset();
        ClearProgramRegistry();
    }

    // A hot key at the given moment of the clock, with the given clipboard before it.
    void HotKey(int index, std::uint64_t at, const std::string& userClipboard) {
        PutTextOnClipboard(userClipboard);
        Now = at;
        Lookup.HotKeyPressed(index);
    }
    // The program in front has copied this text; its notification is handled at the given moment.
    void Copied(const std::string& text, std::uint64_t at) {
        PutTextOnClipboard(text);
        Now = at;
        Lookup.ClipboardChanged();
    }

    std::unique_ptr<TStubBrowser> Browser;
    TLookupEngine Lookup;
    HWND Window = nullptr;
    std::uint64_t Now = 0;
    unsigned Waited = 0;
};

TEST_F(Engine, AChangeAtTheDeadlineIsIgnoredOneBeforeItIsLookedUpAndTheRestoreIsNotAChange) {
    HotKey(0, 1000, "user clipboard");
    EXPECT_TRUE(Lookup.LaunchFromClipboard);
    EXPECT_TRUE(Lookup.ClipboardSaved);
    EXPECT_EQ(Lookup.ClipboardDeadline, 1500u);

    Copied("too late", 1500);
    EXPECT_EQ(Waited, TLookupEngine::SettleWaitMs);
    EXPECT_TRUE(Lookup.LaunchFromClipboard);

    HotKey(0, 2000, "user clipboard");
    Copied("  in time\t\r\nnext line", 2499);
    EXPECT_FALSE(Lookup.LaunchFromClipboard);
    EXPECT_EQ(Lookup.LookupText, "in time");
    EXPECT_EQ(ClipboardFormatBytes(ClipboardContents(), CF_TEXT), std::string("user clipboard", 15));
    // The restore's own notification.
    Lookup.ClipboardChanged();
    EXPECT_EQ(Browser->WaitForUrls(2, 1500),
              std::vector<std::string>{"http://glossa.orvane.com/search?q=in%20time&r=5"});
}

TEST_F(Engine, ASecondHotKeyTakesOverIndexDeadlineAndClipboardButNotTheTimersPeriod) {
    const ULONGLONG first = GetTickCount64();
    HotKey(0, 0, "first clipboard");
    PumpMessages(400);
    HotKey(2, 400, "second clipboard");
    EXPECT_EQ(Lookup.HotKeyIndex, 2);
    EXPECT_EQ(Lookup.ClipboardDeadline, 900u);
    ASSERT_EQ(SavedClipboardFormats.empty(), false);
    EXPECT_EQ(ClipboardFormatBytes(ClipboardContents(), CF_TEXT), std::string("second clipboard", 17));

    // Nothing was copied: the timer ends the wait 500 ms after the first hot key, and Edit and
    // Lookup opens its dialog with an empty text.
    ASSERT_TRUE(WaitUntil([&] { return !Lookup.LaunchFromClipboard; }, 3000));
    EXPECT_LT(GetTickCount64() - first, 850u);
    HWND dialog = FindTopWindow("#32770", "Wordlark Lookup", GetCurrentProcessId());
    ASSERT_TRUE(dialog);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, 3002)), "");
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(Engine, TheTextIsCutAt2000BytesBeforeItIsCleanedAndBlanksOnlyStillLookUp) {
    HotKey(0, 0, "user");
    Copied("  " + std::string(2100, 'b'), 10);
    EXPECT_EQ(Lookup.LookupText, std::string(1998, 'b'));

    HotKey(0, 0, "user");
    Copied(std::string(1999, 'c') + "\r\nnext", 10);
    EXPECT_EQ(Lookup.LookupText, std::string(1999, 'c'));

    HotKey(0, 0, "user");
    Copied(" one\ntwo\rthree \r\nfour", 10);
    EXPECT_EQ(Lookup.LookupText, "one\ntwo\rthree");

    HotKey(0, 0, "user");
    Copied(" \t \r\n ", 10);
    EXPECT_EQ(Lookup.LookupText, "");
    const std::vector<std::string> urls = Browser->WaitForUrls(4, 10000);
    EXPECT_EQ(std::count(urls.begin(), urls.end(), "http://glossa.orvane.com/search?q=&r=5"), 1);
}

TEST_F(Engine, TheLinkMenuShowsTheHeadingWithoutAmpersandsAndEveryLinkLiterallyWithItsOwnAccelerator) {
    const int count = ASettings::GetLinkCount();
    ASettings::WriteLink(count, TWebLink{"Q&A", "http://qa.example/?q=", "", false});
    ASettings::WriteLink(count + 1, TWebLink{"Glossary 100%", "http://gl.example/?q=", "", false});
    ASettings::SetLinkCount(count + 2);
    Lookup.LookupText = "R&D";

    std::vector<TMenuEntry> shown;
    std::thread reader([&] { shown = ReadShownMenuAndDismiss(); });
    Lookup.ShowWebLinksMenu();
    reader.join();

    const std::vector<TMenuEntry> expected = {
        {"Look up 'RD' at...", false},
        {"-", false},
        {"&Glossa", true},
        {"&Synora", true},
        {"&Factorum", true},
        {"&Web Search Powered by Seekwell", true},
        {"&Bazaarly", true},
        {"&Q&&A", true},
        {"Glossary &100%", true},
    };
    EXPECT_EQ(shown, expected);
    EXPECT_TRUE(Browser->WaitForUrls(1, 500).empty());
}

TEST_F(Engine, TheDialogLooksUpOnTheDefaultLinkOfTheMomentItClosesNotTheOneItsPromptNamed) {
    Lookup.LookupText = "word";
    Lookup.OpenEditAndLookup();
    HWND dialog = FindTopWindow("#32770", "Wordlark Lookup", GetCurrentProcessId());
    ASSERT_TRUE(dialog);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, 3001)), "Look up on Glossa:");

    ASettings::SetDefaultLink("Synora");
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(Browser->WaitForUrls(1, 5000),
              std::vector<std::string>{"http://synora.orvane.com/search?q=word&r=5"});
}

TEST_F(Engine, AClipboardChangeWhileNoLookupWaitsCostsNoSettleWaitAndReadsNothing) {
    Copied("another program's copy", 0);
    EXPECT_EQ(Waited, 0u);
    EXPECT_EQ(Lookup.LookupText, "");
}

TEST_F(Engine, ANoticeOfTheUsersOwnCopyFromBeforeTheHotKeyIsNotTakenForTheSelection) {
    HotKey(0, 0, "copied by the user just before");
    Now = 10;
    Lookup.ClipboardChanged();
    EXPECT_TRUE(Lookup.LaunchFromClipboard);
    EXPECT_EQ(Lookup.LookupText, "");
    Copied("the selection", 20);
    EXPECT_EQ(Lookup.LookupText, "the selection");
}
