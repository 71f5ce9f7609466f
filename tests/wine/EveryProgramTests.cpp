// The hot keys in programs of either bitness, with the real WL.exe: a 64-bit and a 32-bit KeyTarget
// and Wine's own 32-bit notepad hold a selection and have the focus. The programs listed on the
// Programs page, which keep their keys. And the keys of other programs while the program's own
// thread is busy.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "ConfigFrmRes.h"
#include "LookupSupport.h"
#include "ProgramNames.h"
#include "Settings.h"
#include "WinHandles.h"

using namespace TestSupport;

namespace {

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "; ";
    return text;
}

class EveryProgram : public TLookupStoryTest {
protected:
    void StartWordlark() {
        App = TWordlark::Start();
        ASSERT_TRUE(App.Window);
    }
    void Hold(std::unique_ptr<TSelectionHolder> holder) {
        Holder = std::move(holder);
        ASSERT_TRUE(Holder->Window());
    }

    // Quick Lookup, then the link menu's Synora entry, then the dialog's OK, each on a selection of
    // its own, exactly as in any other program.
    void LookUpWithEachHotKey() {
        ASSERT_TRUE(Holder->Select("quick word"));
        TypeCombo({VK_CONTROL}, 'L');
        EXPECT_EQ(Browser->WaitForUrls(1, 5000).size(), 1u) << "Ctrl + L looked nothing up";

        ASSERT_TRUE(Holder->Select("menu word"));
        TypeCombo({VK_CONTROL}, 'M');
        ASSERT_TRUE(WaitUntil([] { return VisibleMenu() != nullptr; }, 5000))
            << "no link menu; the program got: " << Joined(Holder->Keys());
        TypeCombo({}, 'S');
        EXPECT_EQ(Browser->WaitForUrls(2, 5000).size(), 2u) << "the menu looked nothing up";

        ASSERT_TRUE(Holder->Select("dialog word"));
        TypeCombo({VK_CONTROL}, 'Q');
        HWND dialog = WaitForWindow("#32770", "Wordlark Lookup", 5000);
        ASSERT_TRUE(dialog) << "no Edit-and-Lookup dialog";
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }, 3000));
        TypeCombo({}, VK_RETURN);
        EXPECT_EQ(Browser->WaitForUrls(3, 5000),
                  (std::vector<std::string>{"http://glossa.orvane.com/search?q=quick%20word&r=5",
                                            "http://synora.orvane.com/search?q=menu%20word&r=5",
                                            "http://glossa.orvane.com/search?q=dialog%20word&r=5"}));
    }
    // Ctrl with the key reaches the program in front.
    void ExpectReachesProgram(WORD key, const char* line) {
        ASSERT_TRUE(Activate(Holder->Window()));
        TypeCombo({VK_CONTROL}, key);
        EXPECT_TRUE(WaitUntil([&] { return Has(Holder->Keys(), line); }, 5000))
            << "the program got: " << Joined(Holder->Keys());
    }

    // The configuration window shown on the Programs page; its list.
    HWND ShowProgramsPage() {
        EXPECT_TRUE(App.ShowWindow());
        EXPECT_TRUE(App.ShowPage(3));
        return App.Control(IDC_PROGRAMSLISTBOX);
    }
};

} // namespace

// The 32-bit program outlives a killed WL.exe, the 64-bit one a WL.exe that ended as asked.
TEST_F(EveryProgram, HotKeysLookUpInA32And64BitProgramAndTheProgramGetsThemWhenDisabledOrWordlarkIsGone) {
    for (const bool wide : {false, true}) {
        SCOPED_TRACE(wide ? "64-bit program" : "32-bit program");
        StartWordlark();
        Hold(std::make_unique<TSelectionHolder>(wide ? "KeyTarget.exe" : "KeyTarget32.exe"));
        LookUpWithEachHotKey();
        const std::vector<std::string> keys = Holder->Keys();
        for (const char* swallowed : {"down 4C 0", "down 4D 0", "down 51 0"})
            EXPECT_FALSE(Has(keys, swallowed)) << "the program got " << swallowed;

        ASettings::SetEnabled(false);
        ExpectReachesProgram('L', "down 4C 0");
        ASettings::SetEnabled(true);
        if (wide) {
            ASSERT_TRUE(App.Quit());
        } else {
            App.Process->Terminate();
            ASSERT_TRUE(App.Process->Wait(5000));
        }
        App = TWordlark();
        ExpectReachesProgram('M', "down 4D 0");
        EXPECT_EQ(Browser->WaitForUrls(4, 0).size(), 3u);
        Browser->Clear();
    }
}

TEST_F(EveryProgram, HotKeysLookUpInWines32BitNotepad) {
    StartWordlark();
    Hold(std::make_unique<TSelectionHolder>("C:\\windows\\syswow64\\notepad.exe", "Notepad"));
    BOOL wow64 = FALSE;
    DWORD processId = 0;
    GetWindowThreadProcessId(Holder->Window(), &processId);
    const TUniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    ASSERT_TRUE(process && IsWow64Process(process.Get(), &wow64) && wow64) << "notepad is not 32-bit";
    LookUpWithEachHotKey();
}

namespace {

void SetProgramValue(HKEY key, const wchar_t* name, DWORD type, const void* data, std::size_t size) {
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size));
}

// As another hand may have stored them: of another type, of 64 KB, empty, with a folder.
void StoreOddProgramEntries() {
    TRegKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, ProgramsKey, KEY_ALL_ACCESS));
    const DWORD count = 5, number = 7;
    const std::wstring huge(32768, L'x'), withFolder = L"C:\\Somewhere\\Else\\KEYTARGET.EXE",
                                          plain = L"KeyTarget32.exe";
    SetProgramValue(key.Get(), L"ProgramCount", REG_DWORD, &count, sizeof count);
    SetProgramValue(key.Get(), L"Program0", REG_DWORD, &number, sizeof number);
    SetProgramValue(key.Get(), L"Program1", REG_SZ, huge.c_str(), (huge.size() + 1) * 2);
    SetProgramValue(key.Get(), L"Program2", REG_SZ, withFolder.c_str(), (withFolder.size() + 1) * 2);
    SetProgramValue(key.Get(), L"Program3", REG_SZ, L"", 2);
    SetProgramValue(key.Get(), L"Program4", REG_SZ, plain.c_str(), (plain.size() + 1) * 2);
}

} // namespace

TEST_F(EveryProgram, ListedProgramsOfEitherBitnessGetEveryKeyOthersLookUpAndARemovedOneLooksUpAfterApply) {
    StoreOddProgramEntries();
    StartWordlark();
    for (const char* program : {"KeyTarget32.exe", "KeyTarget.exe"}) {
        SCOPED_TRACE(program);
        Hold(std::make_unique<TSelectionHolder>(program));
        ASSERT_TRUE(Holder->Select("kept word"));
        ExpectReachesProgram('L', "down 4C 0");
        ExpectReachesProgram('M', "down 4D 0");
        ExpectReachesProgram('Q', "down 51 0");
    }
    // Wine's notepad is not listed: its Ctrl + L is the first lookup of all.
    Hold(std::make_unique<TSelectionHolder>("C:\\windows\\syswow64\\notepad.exe", "Notepad"));
    ASSERT_TRUE(Holder->Select("other word"));
    TypeCombo({VK_CONTROL}, 'L');
    EXPECT_EQ(Browser->WaitForUrls(1, 5000),
              std::vector<std::string>{"http://glossa.orvane.com/search?q=other%20word&r=5"});

    // The page shows what is matched; the 64-bit program's entry removed and applied.
    HWND list = ShowProgramsPage();
    ASSERT_EQ(ListLines(list), (std::vector<std::string>{"KEYTARGET.EXE", "KeyTarget32.exe"}));
    SelectListLine(list, 0);
    Click(App.Control(IDC_PROGRAMREMOVEBUTTON));
    Click(App.Control(IDC_APPLYBUTTON));
    ASSERT_TRUE(WaitUntil(
        [] { return ASettings::GetPrograms() == std::vector<std::wstring>{L"KeyTarget32.exe"}; }, 3000))
        << Joined(ListLines(list));
    Hold(std::make_unique<TSelectionHolder>("KeyTarget.exe"));
    ASSERT_TRUE(Holder->Select("freed word"));
    TypeCombo({VK_CONTROL}, 'L');
    EXPECT_EQ(Browser->WaitForUrls(2, 5000).back(), "http://glossa.orvane.com/search?q=freed%20word&r=5");
}

// Chosen in the Open dialog: cancelled, then dropped with the window's Cancel, then kept with OK.
TEST_F(EveryProgram, NotepadAddedInTheOpenDialogKeepsItsKeysOnlyOnceApplied) {
    StartWordlark();
    HWND list = ShowProgramsPage();
    Click(App.Control(IDC_PROGRAMADDBUTTON));
    ASSERT_TRUE(AnswerOpenDialog(""));
    EXPECT_TRUE(ListLines(list).empty());
    for (const bool keep : {false, true}) {
        Click(App.Control(IDC_PROGRAMADDBUTTON));
        ASSERT_TRUE(AnswerOpenDialog("C:\\windows\\syswow64\\notepad.exe"));
        ASSERT_TRUE(
            WaitUntil([&] { return ListLines(list) == std::vector<std::string>{"notepad.exe"}; }, 3000))
            << Joined(ListLines(list));
        Click(App.Control(keep ? IDC_OKBUTTON : IDC_CANCELBUTTON));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(App.Window); }, 3000));
        if (!keep) {
            EXPECT_TRUE(ASettings::GetPrograms().empty());
            list = ShowProgramsPage();
            EXPECT_TRUE(ListLines(list).empty()) << "Cancel kept " << Joined(ListLines(list));
        }
    }
    EXPECT_EQ(ASettings::GetPrograms(), std::vector<std::wstring>{L"notepad.exe"});

    // Notepad's Ctrl + L looks nothing up: the first lookup is the one of the program typed after it.
    Hold(std::make_unique<TSelectionHolder>("C:\\windows\\syswow64\\notepad.exe", "Notepad"));
    ASSERT_TRUE(Holder->Select("notepad word"));
    TypeCombo({VK_CONTROL}, 'L');
    Hold(std::make_unique<TSelectionHolder>("KeyTarget.exe"));
    ASSERT_TRUE(Holder->Select("target word"));
    TypeCombo({VK_CONTROL}, 'L');
    EXPECT_EQ(Browser->WaitForUrls(1, 5000),
              std::vector<std::string>{"http://glossa.orvane.com/search?q=target%20word&r=5"});
}

namespace {

// Milliseconds from a key sent to its arrival in the program's window, for each of `count` keys.
std::vector<double> KeyDelays(TSelectionHolder& holder, WORD key, int count) {
    std::vector<double> delays;
    for (int i = 0; i < count; ++i) {
        const std::size_t before = holder.Keys().size();
        const ULONGLONG sent = GetTickCount64();
        TypeCombo({}, key);
        WaitUntil([&] { return holder.Keys().size() >= before + 2; }, 5000);
        delays.push_back(static_cast<double>(GetTickCount64() - sent));
    }
    return delays;
}

std::string Listed(const std::vector<double>& delays) {
    std::string text;
    for (double delay : delays)
        text += std::to_string(static_cast<int>(delay)) + " ";
    return text;
}

} // namespace

// The program's own thread stopped outright for two seconds, as by a long wait in any handler.
TEST_F(EveryProgram, KeysOfOtherProgramsDoNotWaitForTheProgramsBusyThreadAndAHotKeyThenIsLookedUpLater) {
    Hold(std::make_unique<TSelectionHolder>());
    ASSERT_TRUE(Activate(Holder->Window()));
    const std::vector<double> alone = KeyDelays(*Holder, 'A', 5);
    StartWordlark();
    ASSERT_TRUE(Holder->Select("busy word"));

    const TUniqueHandle thread(
        OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(App.Window, nullptr)));
    ASSERT_TRUE(thread);
    ASSERT_NE(SuspendThread(thread.Get()), static_cast<DWORD>(-1));
    const ULONGLONG suspended = GetTickCount64();
    const std::vector<double> busy = KeyDelays(*Holder, VK_F12, 5); // a key that keeps the selection
    TypeCombo({VK_CONTROL}, 'L');
    PumpMessages(static_cast<DWORD>(2000 - std::min<ULONGLONG>(2000, GetTickCount64() - suspended)));
    EXPECT_TRUE(Browser->WaitForUrls(1, 0).empty()) << "looked up while the thread was stopped";
    ResumeThread(thread.Get());

    std::printf("key delays in ms without WL.exe: %s; while its thread is stopped: %s\n",
                Listed(alone).c_str(), Listed(busy).c_str());
    const double limit = std::max(500.0, 4 * *std::max_element(alone.begin(), alone.end()));
    for (double delay : busy)
        EXPECT_LT(delay, limit) << "a key waited for the program's thread: " << Listed(busy);
    EXPECT_EQ(Browser->WaitForUrls(1, 8000),
              std::vector<std::string>{"http://glossa.orvane.com/search?q=busy%20word&r=5"})
        << Joined(Holder->Keys());
}
