// The real WL.exe in the test desktop, driven from outside as Windows and the user would: start-up,
// a second copy taking over, the configuration window, the tray menu and the clipboard-viewer chain.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "Settings.h"
#include "WinHandles.h"
#include "TestSupport.h"

using namespace TestSupport;

namespace {

constexpr const char* FormClass = "TConfigForm";
constexpr const char* FormTitle = "Wordlark Configuration";
constexpr UINT TrayCallback = WM_USER + 3, QuitRequest = WM_USER + 4;
// Control ids of the configuration window (ConfigFrmRes.h).
constexpr int MainPagesId = 1001, GroupBox4Id = 1002, EnableCheckBoxId = 1003, OkButtonId = 1005,
              CancelButtonId = 1006, HelpButtonId = 1008;

// The notification area answers a modification only for an icon that it holds.
bool TrayIconPresent(HWND window) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

// Strongly coloured pixels in the notification area at the right end of the taskbar: the program's
// icon is blue and orange when enabled and grey when disabled.
int ColouredTrayPixels() {
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    RECT area{};
    GetWindowRect(tray, &area);
    HDC screen = GetDC(nullptr);
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.right - 80; x < area.right; ++x) {
            const COLORREF colour = GetPixel(screen, x, y);
            const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
            if (colour != CLR_INVALID && std::max({r, g, b}) - std::min({r, g, b}) > 80)
                ++count;
        }
    ReleaseDC(nullptr, screen);
    return count;
}

// Wine moves the pointer asynchronously: wait until the move has arrived.
void MoveCursor(int x, int y) {
    SetCursorPos(x, y);
    WaitUntil(
        [&] {
            POINT cursor{};
            GetCursorPos(&cursor);
            return cursor.x == x && cursor.y == y;
        },
        2000);
    PumpMessages(100);
}

RECT ChildRect(HWND window, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(window, id), &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class Wordlark : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Link = std::make_unique<TSettingsLink>(); }
    static void TearDownTestSuite() { Link.reset(); }
    void SetUp() override {
        ClearProgramRegistry();
        ASettings::SetEnabled(true);
        Log = TempFile("keys");
    }
    void TearDown() override {
        for (HWND window; (window = FindTopWindow(FormClass, FormTitle)) != nullptr;) {
            DWORD processId = 0;
            GetWindowThreadProcessId(window, &processId);
            PostMessageA(window, QuitRequest, 0, 0);
            WaitUntil([&] { return !IsWindow(window); }, 10000);
        }
        Target.reset();
        DeleteFileA(Log.c_str());
    }

    // KeyTarget in front with its edit focused; its log records the keys that reach it.
    void StartKeyTarget() {
        Target =
            std::make_unique<TProcess>(Quoted(BuildFile("KeyTarget.exe")) + " " + Quoted(Log) + " HotKeys");
        HWND window = WaitForWindow("WordlarkKeyTarget", "HotKeys", 10000, Target->Id());
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(Activate(window));
        ASSERT_TRUE(WaitUntil([&] { return !ReadLines(Log).empty(); }, 5000));
    }
    int Logged(const std::string& line) {
        const std::vector<std::string> lines = ReadLines(Log);
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }
    // Ctrl+L, then Ctrl+K as a marker: once the marker arrived, the L would have arrived too.
    bool QuickLookupKeySwallowed() {
        const int markers = Logged("down 4B 0"), keys = Logged("down 4C 0");
        TypeCombo({VK_CONTROL}, 'L');
        TypeCombo({VK_CONTROL}, 'K');
        EXPECT_TRUE(WaitUntil([&] { return Logged("down 4B 0") > markers; }, 5000))
            << "keys do not reach KeyTarget";
        return Logged("down 4C 0") == keys;
    }

    static std::unique_ptr<TSettingsLink> Link;
    std::string Log;
    std::unique_ptr<TProcess> Target;
};

std::unique_ptr<TSettingsLink> Wordlark::Link;

TEST_F(Wordlark, StartsHiddenWithHookAndTrayIconAndRemovesThemOnQuitRequest) {
    TWordlark wordlark = TWordlark::Start();
    ASSERT_NE(wordlark.Window, nullptr);
    EXPECT_FALSE(IsWindowVisible(wordlark.Window));
    EXPECT_EQ(ASettings::GetTargetWindow(), wordlark.Window);
    EXPECT_NE(ASettings::GetHookHandle(), nullptr);
    EXPECT_TRUE(TrayIconPresent(wordlark.Window));
    EXPECT_FALSE(ASettings::GetConfigWindowShown());
    StartKeyTarget();
    EXPECT_TRUE(QuickLookupKeySwallowed());

    const HWND window = wordlark.Window;
    ASSERT_TRUE(wordlark.Quit());
    EXPECT_EQ(wordlark.Process->ExitCode(), 0u);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(TrayIconPresent(window));
    ASSERT_TRUE(Activate(FindTopWindow("WordlarkKeyTarget", "HotKeys")));
    EXPECT_FALSE(QuickLookupKeySwallowed()) << "the hook outlived the program";
}

TEST_F(Wordlark, SecondCopyReplacesTheRunningOneAndOwnsAWorkingHook) {
    TWordlark first = TWordlark::Start();
    ASSERT_NE(first.Window, nullptr);
    TWordlark second = TWordlark::Start();
    ASSERT_NE(second.Window, nullptr);
    EXPECT_TRUE(first.Process->Wait(10000));
    EXPECT_EQ(CountTopWindows(FormClass, FormTitle), 1);
    EXPECT_EQ(FindTopWindow(FormClass, FormTitle), second.Window);
    EXPECT_EQ(ASettings::GetTargetWindow(), second.Window);
    EXPECT_TRUE(TrayIconPresent(second.Window));
    EXPECT_FALSE(TrayIconPresent(first.Window));
    StartKeyTarget();
    EXPECT_TRUE(QuickLookupKeySwallowed());
}

// The ending copy's hook posts to the window that the shared block names until the copy stops it.
// A new copy that started its hook before the old window was gone would have each hot key posted
// twice meanwhile.
TEST_F(Wordlark, NewCopyStartsItsHookOnlyAfterASlowOldCopyHasEnded) {
    TProcess old(Quoted(BuildFile("SlowToEndCopy.exe")) + " " + Quoted(BuildFile("Tarnwick2.dll")) + " 1500");
    ASSERT_NE(WaitForWindow(FormClass, FormTitle, 10000, old.Id()), nullptr);
    ASSERT_TRUE(WaitUntil([] { return ASettings::GetHookHandle() != nullptr; }, 5000));
    TWordlark wordlark = TWordlark::Start();
    ASSERT_NE(wordlark.Window, nullptr);
    EXPECT_TRUE(old.Wait(0)) << "the new window appeared while the old copy was still ending";
    ASSERT_TRUE(old.Wait(10000));
    EXPECT_EQ(ASettings::GetTargetWindow(), wordlark.Window);
    StartKeyTarget();
    EXPECT_TRUE(QuickLookupKeySwallowed());
}

TEST_F(Wordlark, WaitForAnOldCopyThatDoesNotEndIsBounded) {
    TProcess old(Quoted(BuildFile("SlowToEndCopy.exe")) + " " + Quoted(BuildFile("Tarnwick2.dll")) +
                 " never");
    ASSERT_NE(WaitForWindow(FormClass, FormTitle, 10000, old.Id()), nullptr);
    const ULONGLONG start = GetTickCount64();
    TProcess process(Quoted(BuildFile("WL.exe")));
    HWND window = WaitForWindow(FormClass, FormTitle, 20000, process.Id());
    ASSERT_NE(window, nullptr);
    const ULONGLONG waited = GetTickCount64() - start;
    EXPECT_GE(waited, 4000u);
    EXPECT_LT(waited, 12000u);
    EXPECT_TRUE(WaitUntil([&] { return ASettings::GetTargetWindow() == window; }, 5000));
    old.Terminate();
}

TEST_F(Wordlark, TrayDoubleClickShowsTheWindowAndTheCloseBoxOnlyHidesIt) {
    TWordlark wordlark = TWordlark::Start();
    ASSERT_NE(wordlark.Window, nullptr);
    // Single clicks and button-down messages are ignored.
    for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_MOUSEMOVE})
        PostMessageA(wordlark.Window, TrayCallback, 0, mouse);
    PumpMessages(300);
    EXPECT_FALSE(IsWindowVisible(wordlark.Window));

    PostMessageA(wordlark.Window, TrayCallback, 0, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(wordlark.Window) != FALSE; }, 5000));
    EXPECT_TRUE(ASettings::GetConfigWindowShown());
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == wordlark.Window; }, 3000));
    EXPECT_EQ(SendMessageA(GetDlgItem(wordlark.Window, MainPagesId), TCM_GETCURSEL, 0, 0), 0)
        << "Overview first";

    // Escape is not bound to Cancel.
    TypeCombo({}, VK_ESCAPE);
    PumpMessages(300);
    EXPECT_TRUE(IsWindowVisible(wordlark.Window));

    PostMessageA(wordlark.Window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(wordlark.Window); }, 5000));
    EXPECT_FALSE(ASettings::GetConfigWindowShown());
    EXPECT_FALSE(wordlark.Process->Wait(300)) << "closing the window ended the program";

    PostMessageA(wordlark.Window, TrayCallback, 0, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(wordlark.Window) != FALSE; }, 5000));
    PressButton(wordlark.Window, CancelButtonId);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(wordlark.Window); }, 5000));
    EXPECT_FALSE(ASettings::GetConfigWindowShown());
}

TEST_F(Wordlark, WindowKeepsItsMinimumSizeAndAnchorsItsControls) {
    TWordlark wordlark = TWordlark::Start();
    ASSERT_NE(wordlark.Window, nullptr);
    PostMessageA(wordlark.Window, TrayCallback, 0, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(wordlark.Window) != FALSE; }, 5000));

    auto resize = [&](int width, int height) {
        RECT rect{};
        GetWindowRect(wordlark.Window, &rect);
        SetWindowPos(wordlark.Window, nullptr, rect.left, rect.top, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        PumpMessages(300);
        GetWindowRect(wordlark.Window, &rect);
        return rect;
    };
    RECT client{};
    GetClientRect(wordlark.Window, &client);
    const RECT ok = ChildRect(wordlark.Window, OkButtonId), help = ChildRect(wordlark.Window, HelpButtonId);
    const RECT pages = ChildRect(wordlark.Window, MainPagesId),
               options = ChildRect(wordlark.Window, GroupBox4Id);

    RECT grown = resize(900, 700);
    RECT grownClient{};
    GetClientRect(wordlark.Window, &grownClient);
    const int dx = grownClient.right - client.right, dy = grownClient.bottom - client.bottom;
    ASSERT_GT(dx, 0);
    ASSERT_GT(dy, 0);
    const RECT okNow = ChildRect(wordlark.Window, OkButtonId),
               helpNow = ChildRect(wordlark.Window, HelpButtonId);
    const RECT pagesNow = ChildRect(wordlark.Window, MainPagesId);
    const RECT optionsNow = ChildRect(wordlark.Window, GroupBox4Id);
    EXPECT_EQ(okNow.left, ok.left + dx);
    EXPECT_EQ(helpNow.top, help.top + dy);
    EXPECT_EQ(helpNow.right - helpNow.left, help.right - help.left);
    EXPECT_EQ(pagesNow.right, pages.right + dx);
    EXPECT_EQ(pagesNow.bottom, pages.bottom + dy);
    EXPECT_EQ(pagesNow.left, pages.left);
    EXPECT_EQ(optionsNow.top, options.top + dy);
    EXPECT_EQ(optionsNow.right, options.right + dx);
    EXPECT_EQ(optionsNow.bottom - optionsNow.top, options.bottom - options.top);
    EXPECT_EQ(grown.right - grown.left, 900);

    const RECT small = resize(300, 200);
    EXPECT_EQ(small.right - small.left, 530);
    EXPECT_EQ(small.bottom - small.top, 355);
}

TEST_F(Wordlark, TrayMenuOpensAtTheCursorAndItsEnabledItemSwitchesState) {
    TWordlark wordlark = TWordlark::Start();
    ASSERT_NE(wordlark.Window, nullptr);
    PumpMessages(500); // the notification area draws the new icon
    const int colouredEnabled = ColouredTrayPixels();

    auto openMenu = [&](int x, int y) {
        MoveCursor(x, y);
        PostMessageA(wordlark.Window, TrayCallback, 0, WM_RBUTTONUP);
        HWND menu = nullptr;
        WaitUntil(
            [&] {
                menu = FindTopWindow("#32768", nullptr, wordlark.Process->Id());
                return menu && IsWindowVisible(menu);
            },
            5000);
        return menu;
    };

    HWND menu = openMenu(400, 300);
    ASSERT_NE(menu, nullptr);
    RECT rect{};
    GetWindowRect(menu, &rect);
    EXPECT_EQ(rect.left, 400);
    EXPECT_EQ(rect.top, 300);
    // The foreground grabber: invisible, without a taskbar button, holding the foreground for the menu.
    HWND grabber = FindTopWindow("TForegroundGrabberForm", nullptr, wordlark.Process->Id());
    ASSERT_NE(grabber, nullptr);
    EXPECT_TRUE(IsWindowVisible(grabber));
    EXPECT_TRUE(GetWindowLongA(grabber, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    // Preferences, About, Help, Enabled.
    for (int i = 0; i < 4; ++i)
        TypeCombo({}, VK_DOWN);
    TypeCombo({}, VK_RETURN);
    ASSERT_TRUE(WaitUntil([] { return !ASettings::GetEnabled(); }, 5000));
    EXPECT_FALSE(IsWindowVisible(grabber));
    EXPECT_EQ(SendMessageA(GetDlgItem(wordlark.Window, EnableCheckBoxId), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(WaitUntil([&] { return ColouredTrayPixels() < colouredEnabled; }, 3000))
        << "the icon did not turn grey: " << ColouredTrayPixels() << " coloured pixels";

    ASSERT_NE(openMenu(200, 150), nullptr);
    for (int i = 0; i < 4; ++i)
        TypeCombo({}, VK_DOWN);
    TypeCombo({}, VK_RETURN);
    ASSERT_TRUE(WaitUntil([] { return ASettings::GetEnabled(); }, 5000));
    EXPECT_EQ(SendMessageA(GetDlgItem(wordlark.Window, EnableCheckBoxId), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(WaitUntil([&] { return ColouredTrayPixels() == colouredEnabled; }, 3000))
        << ColouredTrayPixels() << " coloured pixels, " << colouredEnabled << " when enabled";

    // Escape closes the menu without a choice and leaves nothing of the program visible.
    ASSERT_NE(openMenu(300, 200), nullptr);
    TypeCombo({}, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(grabber); }, 5000));
    EXPECT_TRUE(ASettings::GetEnabled());
    EXPECT_FALSE(IsWindowVisible(wordlark.Window));

    // "About" shows the window on its Overview page, even after another page was chosen.
    SendMessageA(GetDlgItem(wordlark.Window, MainPagesId), TCM_SETCURSEL, 2, 0);
    ASSERT_NE(openMenu(300, 200), nullptr);
    TypeCombo({}, VK_DOWN);
    TypeCombo({}, VK_DOWN);
    TypeCombo({}, VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(wordlark.Window) != FALSE; }, 5000));
    EXPECT_EQ(SendMessageA(GetDlgItem(wordlark.Window, MainPagesId), TCM_GETCURSEL, 0, 0), 0);

    // Upwards from the top wraps to the last item, "Exit Wordlark".
    ASSERT_NE(openMenu(300, 200), nullptr);
    TypeCombo({}, VK_UP);
    TypeCombo({}, VK_RETURN);
    EXPECT_TRUE(wordlark.Process->Wait(10000));
}

// A clipboard viewer of the test: counts the changes it is told about and keeps its own link in
// the chain as a well-behaved viewer does.
class TTestViewer {
public:
    TTestViewer() {
        Window = CreateTestWindow("WordlarkTestViewer", Proc, "", WS_POPUP, {0, 0, 1, 1}, this);
        Next = SetClipboardViewer(Window);
    }
    TTestViewer(const TTestViewer&) = delete;
    TTestViewer& operator=(const TTestViewer&) = delete;
    ~TTestViewer() {
        Leave();
        DestroyWindow(Window);
    }
    void Leave() {
        if (Joined)
            ChangeClipboardChain(Window, Next);
        Joined = false;
    }
    int Changes = 0;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* viewer = WindowSelf<TTestViewer>(window, message, lParam);
        if (viewer && message == WM_DRAWCLIPBOARD) {
            ++viewer->Changes;
            return viewer->Next ? SendMessageA(viewer->Next, message, wParam, lParam) : 0;
        }
        if (viewer && message == WM_CHANGECBCHAIN) {
            if (reinterpret_cast<HWND>(wParam) == viewer->Next)
                viewer->Next = reinterpret_cast<HWND>(lParam);
            else if (viewer->Next)
                SendMessageA(viewer->Next, message, wParam, lParam);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    HWND Window = nullptr;
    HWND Next = nullptr;
    bool Joined = true;
};

void ChangeClipboard(const char* text) {
    TClipboardSession clipboard;
    ASSERT_TRUE(clipboard);
    EmptyClipboard();
    TGlobalMemory memory(GMEM_MOVEABLE, lstrlenA(text) + 1);
    {
        TGlobalLock lock(memory.Get());
        lstrcpyA(static_cast<char*>(lock.Get()), text);
    }
    if (SetClipboardData(CF_TEXT, memory.Get()))
        memory.Release();
}

// Chain, newest first: WL.exe, then `removed`, then `kept`.
TEST_F(Wordlark, ViewersAfterTheProgramInTheClipboardChainKeepBeingNotified) {
    TTestViewer kept;
    auto removed = std::make_unique<TTestViewer>();
    PumpMessages(200);
    TWordlark wordlark = TWordlark::Start();
    ASSERT_NE(wordlark.Window, nullptr);
    PumpMessages(300);

    int before = kept.Changes;
    ChangeClipboard("first");
    EXPECT_TRUE(WaitUntil([&] { return kept.Changes > before && removed->Changes > 0; }, 5000));

    // Leaving the chain tells the program, which must now skip the viewer that left.
    removed->Leave();
    PumpMessages(200);
    before = kept.Changes;
    const int removedBefore = removed->Changes;
    ChangeClipboard("second");
    EXPECT_TRUE(WaitUntil([&] { return kept.Changes > before; }, 5000));
    EXPECT_EQ(removed->Changes, removedBefore);
    removed.reset();

    ASSERT_TRUE(wordlark.Quit());
    PumpMessages(200);
    before = kept.Changes;
    ChangeClipboard("third");
    EXPECT_TRUE(WaitUntil([&] { return kept.Changes > before; }, 5000))
        << "the chain broke when WL.exe ended";
}

// Copies started back to back, as by a double click on the shortcut or a start during logon, hand
// over one after the other. scripts/stress-startup.sh runs this with 50 copies (WL_STARTUP_COPIES).
TEST_F(Wordlark, CopiesStartedBackToBackLeaveExactlyOneWorkingCopy) {
    const char* asked = std::getenv("WL_STARTUP_COPIES");
    const int copies = asked ? std::max(2, std::atoi(asked)) : 8;
    TWordlark alone = TWordlark::Start();
    ASSERT_NE(alone.Window, nullptr);
    PumpMessages(500);
    const int oneIcon = ColouredTrayPixels();
    ASSERT_TRUE(alone.Quit());

    const ULONGLONG begin = GetTickCount64();
    std::vector<std::unique_ptr<TProcess>> started;
    for (int i = 0; i < copies; ++i)
        started.push_back(std::make_unique<TProcess>(Quoted(BuildFile("WL.exe"))));
    auto running = [&] {
        return std::count_if(started.begin(), started.end(), [](const auto& p) { return !p->Wait(0); });
    };
    EXPECT_TRUE(WaitUntil([&] { return running() <= 1; }, 3000 * copies + 10000));
    const double seconds = static_cast<double>(GetTickCount64() - begin) / 1000;
    PumpMessages(1000);
    ASSERT_EQ(running(), 1);

    EXPECT_EQ(CountTopWindows(FormClass, FormTitle), 1);
    HWND window = FindTopWindow(FormClass, FormTitle);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    int survivor = -1;
    for (int i = 0; i < copies; ++i) {
        if (!started[i]->Wait(0))
            survivor = i;
        else
            EXPECT_EQ(started[i]->ExitCode(), 0u) << "copy " << i;
    }
    EXPECT_EQ(survivor, copies - 1) << "the newest copy did not win";
    ASSERT_GE(survivor, 0);
    EXPECT_EQ(owner, started[survivor]->Id());
    EXPECT_TRUE(WaitUntil(
        [&] { return ASettings::GetTargetWindow() == window && ASettings::GetHookHandle(); }, 5000));
    EXPECT_TRUE(TrayIconPresent(window));
    EXPECT_EQ(ColouredTrayPixels(), oneIcon) << "another tray icon is left";
    StartKeyTarget();
    EXPECT_TRUE(QuickLookupKeySwallowed());
    std::printf("%d copies started back to back: one left after %.1f s, copy %d of %d\n", copies, seconds,
                survivor + 1, copies);
}

} // namespace
