// The foreground helpers in process: taking the foreground from another program, and pop-up menus
// at the cursor that get the keyboard and leave no visible trace when they close; and where help
// topics are looked for.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "TestSupport.h"
#include "app/Help.h"
#include "lookup/ForegroundGrabberFrm.h"
#include "lookup/WinApiHacks.h"

using namespace TestSupport;

namespace {

class ForegroundHelpers : public ::testing::Test {
protected:
    void SetUp() override {
        Log = TempFile("fg");
        Target = std::make_unique<TProcess>("\"" + BuildFile("KeyTarget.exe") + "\" \"" + Log + "\" InFront");
        TargetWindow = WaitForWindow("WordlarkKeyTarget", "InFront", 10000, Target->Id());
        ASSERT_NE(TargetWindow, nullptr);
        // Found as its window is made: in front once it has shown itself ("ready").
        ASSERT_TRUE(WaitUntil([&] { return !ReadLines(Log).empty(); }, 10000));
        ASSERT_TRUE(ActivateToStay(TargetWindow));

        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "WordlarkForegroundTest";
        RegisterClassA(&windowClass);
        Own = CreateWindowExA(0, "WordlarkForegroundTest", "Own", WS_OVERLAPPEDWINDOW, 50, 50, 200, 100,
                              nullptr, nullptr, windowClass.hInstance, nullptr);
        ShowWindow(Own, SW_SHOWNOACTIVATE);
        PumpMessages(100);
    }
    void TearDown() override {
        DestroyWindow(Own);
        Target.reset();
        DeleteFileA(Log.c_str());
    }

    std::string Log;
    std::unique_ptr<TProcess> Target;
    HWND TargetWindow = nullptr;
    HWND Own = nullptr;
};

TEST_F(ForegroundHelpers, ForceForegroundWindowTakesTheForegroundFromAnotherProgram) {
    ASSERT_EQ(GetForegroundWindow(), TargetWindow);
    ForceForegroundWindow(Own);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == Own; }, 2000));
    // Already in front: stays there, and the input of the two threads is not left attached.
    ForceForegroundWindow(Own);
    EXPECT_EQ(GetForegroundWindow(), Own);
    ASSERT_TRUE(Activate(TargetWindow));
    EXPECT_EQ(GetForegroundWindow(), TargetWindow);
}

// Drives an open pop-up menu of this thread from a second thread, as the user would.
struct TMenuDriver {
    std::atomic<bool> Opened{false};
    RECT MenuRect{};
    RECT GrabberRect{};
    bool GrabberVisible = false;
    LONG GrabberExStyle = 0;
    std::thread Thread;

    explicit TMenuDriver(std::vector<WORD> keys) {
        Thread = std::thread([this, keys] {
            HWND menu = nullptr;
            // The menu window may exist before it is placed and shown: wait for it to be visible.
            for (int i = 0; i < 500; ++i) {
                menu = FindWindowA("#32768", nullptr);
                if (menu && IsWindowVisible(menu))
                    break;
                menu = nullptr;
                Sleep(10);
            }
            if (!menu)
                return;
            GetWindowRect(menu, &MenuRect);
            HWND grabber = ForegroundGrabberWindow();
            GrabberVisible = IsWindowVisible(grabber) != FALSE;
            GetWindowRect(grabber, &GrabberRect);
            GrabberExStyle = GetWindowLongA(grabber, GWL_EXSTYLE);
            Opened = true;
            for (WORD key : keys)
                TypeCombo({}, key);
        });
    }
    ~TMenuDriver() { Thread.join(); }
};

HMENU ThreeItemMenu() {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 11, "One");
    AppendMenuA(menu, MF_STRING, 12, "Two");
    AppendMenuA(menu, MF_STRING, 13, "Three");
    return menu;
}

TEST_F(ForegroundHelpers, PopupMenuOpensAtTheCursorTakesTheKeyboardAndReturnsTheChoice) {
    HMENU menu = ThreeItemMenu();
    SetCursorPos(321, 234);
    // Wine moves the pointer asynchronously.
    ASSERT_TRUE(WaitUntil(
        [] {
            POINT cursor{};
            GetCursorPos(&cursor);
            return cursor.x == 321 && cursor.y == 234;
        },
        2000));
    UINT chosen = 0;
    {
        TMenuDriver driver({VK_DOWN, VK_DOWN, VK_RETURN});
        chosen = PopupMenuAtCursor(menu);
        driver.Thread.join();
        driver.Thread = std::thread([] {});
        ASSERT_TRUE(driver.Opened);
        EXPECT_EQ(driver.MenuRect.left, 321);
        EXPECT_EQ(driver.MenuRect.top, 234);
        EXPECT_TRUE(driver.GrabberVisible);
        EXPECT_EQ(driver.GrabberRect.right - driver.GrabberRect.left, 1);
        EXPECT_EQ(driver.GrabberRect.bottom - driver.GrabberRect.top, 1);
        EXPECT_TRUE(driver.GrabberExStyle & WS_EX_TOOLWINDOW) << "the grabber would get a taskbar button";
        EXPECT_TRUE(driver.GrabberExStyle & WS_EX_LAYERED);
    }
    EXPECT_EQ(chosen, 12u);
    EXPECT_FALSE(IsWindowVisible(ForegroundGrabberWindow()));
    DestroyMenu(menu);
}

TEST_F(ForegroundHelpers, PopupMenuDismissedWithEscapeReturnsNothingAndHidesTheGrabber) {
    HMENU menu = ThreeItemMenu();
    UINT chosen = 99;
    {
        TMenuDriver driver({VK_DOWN, VK_ESCAPE});
        chosen = PopupMenuAtCursor(menu);
    }
    EXPECT_EQ(chosen, 0u);
    EXPECT_FALSE(IsWindowVisible(ForegroundGrabberWindow()));
    EXPECT_FALSE(FindWindowA("#32768", nullptr) && IsWindowVisible(FindWindowA("#32768", nullptr)));
    DestroyMenu(menu);
}

TEST(HelpTopics, LieBesideTheProgramNamedAfterIt) {
    EXPECT_EQ(HelpTopicPath("C:\\Program Files\\Wordlark\\WL.exe", 135),
              "C:\\Program Files\\Wordlark\\WL-135.html");
    EXPECT_EQ(HelpTopicPath("C:\\Tools.v2\\WL", 110), "C:\\Tools.v2\\WL-110.html");
    EXPECT_EQ(HelpTopicPath("D:\\a.b\\Word.lark.exe", 120), "D:\\a.b\\Word.lark-120.html");
    // The build puts every topic beside WL.exe.
    const std::string program = BuildFile("WL.exe");
    for (int context : {110, 120, 125, 130, 135, 140})
        EXPECT_NE(GetFileAttributesA(HelpTopicPath(program, context).c_str()), INVALID_FILE_ATTRIBUTES)
            << context;
}

} // namespace
