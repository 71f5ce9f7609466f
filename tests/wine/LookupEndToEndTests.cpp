// The three hot keys end to end: the real WL.exe, another program that holds a selection and has
// the focus, and a stub browser registered as the system's web browser. Keys are injected as the
// user would press them.
#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "ConfigFrmRes.h"
#include "LookupSupport.h"
#include "Settings.h"
#include "UnicodeText.h"

using namespace TestSupport;

namespace {

constexpr const char* DialogClass = "#32770";
constexpr const char* DialogCaption = "Wordlark Lookup";
constexpr int PromptLabelId = 3001, TextEditId = 3002;

std::string GlossaUrl(const std::string& encoded) {
    return "http://glossa.orvane.com/search?q=" + encoded + "&r=5";
}

// A "Wordlark Lookup" dialog other than the given one, once it is ready for the user.
HWND WaitForNewDialog(HWND other = nullptr) {
    struct TSearch {
        HWND Other, Found;
    } search{other, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(
                [](HWND window, LPARAM data) -> BOOL {
                    auto& s = *reinterpret_cast<TSearch*>(data);
                    char text[64] = "";
                    GetWindowTextA(window, text, sizeof text);
                    if (window != s.Other && IsWindowVisible(window) && lstrcmpA(text, DialogCaption) == 0)
                        s.Found = window;
                    return s.Found == nullptr;
                },
                reinterpret_cast<LPARAM>(&search));
            return search.Found != nullptr;
        },
        5000);
    // Shown in full once the program has put the keyboard focus into its text.
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    WaitUntil(
        [&] {
            return search.Found &&
                   GetGUIThreadInfo(GetWindowThreadProcessId(search.Found, nullptr), &thread) &&
                   thread.hwndFocus == GetDlgItem(search.Found, TextEditId);
        },
        3000);
    return search.Found;
}

} // namespace

class HotKeyLookup : public TLookupStoryTest {
protected:
    void SetUp() override {
        TLookupStoryTest::SetUp();
        App = TWordlark::Start();
        ASSERT_TRUE(App.Window);
        Holder = std::make_unique<TSelectionHolder>();
        ASSERT_TRUE(Holder->Window());
    }

    // Selects the text in the other program and presses Ctrl with the key there.
    void PressHotKeyOn(const std::string& selection, WORD key) {
        ASSERT_TRUE(Holder->Select(selection));
        TypeCombo({VK_CONTROL}, key);
    }
    // No browser start within a second.
    void ExpectNoLookup() {
        PumpMessages(1000);
        EXPECT_TRUE(Browser->WaitForUrls(1, 0).empty());
    }
};

TEST_F(HotKeyLookup, QuickLookupOpensTheCleanedFirstLineAndGivesTheUserTheirClipboardBack) {
    const UINT privateFormat = RegisterClipboardFormatA("Wordlark Test Format");
    const std::string privateBytes("a\0b\0\xFF\0\0", 7);
    PutOnClipboard({{CF_TEXT, std::string("user text", 10)}, {privateFormat, privateBytes}});
    const TClipboardContents before = ClipboardContents();

    PressHotKeyOn("  hello world \t\r\nsecond line", 'L');
    EXPECT_EQ(Browser->WaitForUrls(1, 5000), std::vector<std::string>{GlossaUrl("hello%20world")});

    const TClipboardContents after = ClipboardContents();
    EXPECT_EQ(ClipboardFormatBytes(after, CF_TEXT), ClipboardFormatBytes(before, CF_TEXT));
    EXPECT_EQ(ClipboardFormatBytes(after, privateFormat), privateBytes);
}

// Windows removes a low-level hook that once takes too long, above all while the computer wakes; on
// waking and on unlocking the program installs its hook anew, and a hot key is still looked up once.
TEST_F(HotKeyLookup, WakingAndUnlockingInstallTheHookAnewAndAHotKeyIsThenLookedUpOnce) {
    HHOOK hook = ASettings::GetHookHandle();
    ASSERT_NE(hook, nullptr);
    for (const auto& [message, event] : {std::pair<UINT, WPARAM>{WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC},
                                         {WM_POWERBROADCAST, PBT_APMRESUMESUSPEND},
                                         {WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK}}) {
        SendMessageA(App.Window, message, event, 0);
        EXPECT_TRUE(WaitUntil([&] { return ASettings::GetHookHandle() != hook; }, 3000))
            << std::hex << message << " " << event << ": still " << hook;
        hook = ASettings::GetHookHandle();
        EXPECT_NE(hook, nullptr);
    }
    PressHotKeyOn("once", 'L');
    EXPECT_EQ(Browser->WaitForUrls(1, 5000), std::vector<std::string>{GlossaUrl("once")});
    PumpMessages(1000);
    EXPECT_EQ(Browser->WaitForUrls(2, 0).size(), 1u) << "looked up twice";
}

TEST_F(HotKeyLookup, MenuLookupOpensAtThePointerAKeyChoosesALinkAndEscapeGivesTheForegroundBack) {
    SetCursorPos(300, 200);
    WaitUntil(
        [] {
            POINT cursor{};
            GetCursorPos(&cursor);
            return cursor.x == 300 && cursor.y == 200;
        },
        2000);

    // Every entry has the first letter of its caption: "S" is Synora's.
    PressHotKeyOn("menu word", 'M');
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = VisibleMenu()) != nullptr; }, 5000));
    RECT place{};
    GetWindowRect(menu, &place);
    EXPECT_EQ(place.left, 300);
    EXPECT_EQ(place.top, 200);
    TypeCombo({}, 'S');
    EXPECT_EQ(Browser->WaitForUrls(1, 5000),
              std::vector<std::string>{"http://synora.orvane.com/search?q=menu%20word&r=5"});

    Browser->Clear();
    PressHotKeyOn("menu word", 'M');
    ASSERT_TRUE(WaitUntil([] { return VisibleMenu() != nullptr; }, 5000));
    TypeCombo({}, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([] { return VisibleMenu() == nullptr; }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == Holder->Window(); }, 3000));
    ExpectNoLookup();
}

TEST_F(HotKeyLookup, EditAndLookupShowsTheSelectionAndLooksUpWhatOkOrTheCloseBoxLeaves) {
    PressHotKeyOn("edit me", 'Q');
    HWND dialog = WaitForNewDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, PromptLabelId)), "Look up on Glossa:");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, TextEditId)), "edit me");
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }, 3000));
    // The text is focused and selected: typing replaces it; Enter is OK.
    TypeCombo({}, 'Z');
    TypeCombo({}, 'Y');
    TypeCombo({}, VK_RETURN);
    EXPECT_EQ(Browser->WaitForUrls(1, 5000), std::vector<std::string>{GlossaUrl("zy")});
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == Holder->Window(); }, 3000));

    Browser->Clear();
    PressHotKeyOn("closed by the box", 'Q');
    dialog = WaitForNewDialog();
    ASSERT_TRUE(dialog);
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Browser->WaitForUrls(1, 5000), std::vector<std::string>{GlossaUrl("closed%20by%20the%20box")});
}

TEST_F(HotKeyLookup, CancelAndEscapeLookUpNothingAndTwoOpenDialogsEachLookUpTheirOwnText) {
    PressHotKeyOn("cancelled", 'Q');
    HWND dialog = WaitForNewDialog();
    ASSERT_TRUE(dialog);
    PressButton(dialog, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 3000));
    PressHotKeyOn("escaped", 'Q');
    dialog = WaitForNewDialog();
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }, 3000));
    TypeCombo({}, VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 3000));
    ExpectNoLookup();

    PressHotKeyOn("first", 'Q');
    HWND first = WaitForNewDialog();
    ASSERT_TRUE(first);
    PressHotKeyOn("second", 'Q');
    HWND second = WaitForNewDialog(first);
    ASSERT_TRUE(second);
    EXPECT_EQ(WindowText(GetDlgItem(second, TextEditId)), "second");
    PressButton(second, IDOK);
    EXPECT_EQ(Browser->WaitForUrls(1, 5000), std::vector<std::string>{GlossaUrl("second")});
    PressButton(first, IDOK);
    EXPECT_EQ(Browser->WaitForUrls(2, 5000),
              (std::vector<std::string>{GlossaUrl("second"), GlossaUrl("first")}));
}

TEST_F(HotKeyLookup, WithNothingSelectedOnlyEditAndLookupOpensItsDialogEmptyAfterHalfASecond) {
    PutTextOnClipboard("keep me");
    PressHotKeyOn("", 'L');
    PressHotKeyOn("", 'M');
    ExpectNoLookup();
    EXPECT_EQ(VisibleMenu(), nullptr);
    EXPECT_EQ(ClipboardFormatBytes(ClipboardContents(), CF_TEXT), std::string("keep me", 8));

    const ULONGLONG pressed = GetTickCount64();
    PressHotKeyOn("", 'Q');
    HWND dialog = WaitForNewDialog();
    const ULONGLONG opened = GetTickCount64() - pressed;
    ASSERT_TRUE(dialog);
    EXPECT_GE(opened, 400u);
    EXPECT_LT(opened, 2500u);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, TextEditId)), "");
    PressButton(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 3000));
    ExpectNoLookup();
}

TEST_F(HotKeyLookup, TextInAnyScriptGoesAsUtf8OnAUtf8LinkAsCodePageBytesOnAPredefinedOneAndThroughTheDialog) {
    // "Nihongo" in kanji, "cafe" with an e acute and U+1F600 (a pair of code units), selected in a
    // program that holds Unicode text.
    const std::wstring selection = {0x65E5, 0x672C, 0x8A9E, L' ',   L'c',  L'a',
                                    L'f',   0xE9,   L' ',   0xD83D, 0xDE00};
    const std::string unicodeUrl = "http://unicode.example/?q=";
    const std::string utf8 = "%E6%97%A5%E6%9C%AC%E8%AA%9E%20caf%C3%A9%20%F0%9F%98%80";
    const int count = ASettings::GetLinkCount();
    ASettings::WriteLink(count, TWebLink{"Unicode", unicodeUrl, "", false, TLinkEncoding::Utf8});
    ASettings::SetLinkCount(count + 1);
    ASettings::SetDefaultLink("Unicode");
    const std::string userText("\x95\x03\xBB\x03\0\0", 6); // Greek, in UTF-16
    PutOnClipboard({{CF_UNICODETEXT, userText}});

    ASSERT_TRUE(Holder->Select(selection));
    TypeCombo({VK_CONTROL}, 'L');
    EXPECT_EQ(Browser->WaitForUrls(1, 5000), std::vector<std::string>{unicodeUrl + utf8});
    EXPECT_EQ(ClipboardFormatBytes(ClipboardContents(), CF_UNICODETEXT), userText);

    ASettings::SetDefaultLink("Glossa");
    ASSERT_TRUE(Holder->Select(selection));
    TypeCombo({VK_CONTROL}, 'L');
    EXPECT_EQ(Browser->WaitForUrls(2, 5000).back(), GlossaUrl("%3F%3F%3F%20caf%E9%20%3F%3F"));

    // The dialog shows the selection exactly, and takes characters of another script through the
    // program's message loop.
    ASettings::SetDefaultLink("Unicode");
    ASSERT_TRUE(Holder->Select(selection));
    TypeCombo({VK_CONTROL}, 'Q');
    HWND dialog = WaitForNewDialog();
    ASSERT_TRUE(dialog);
    wchar_t shown[32] = L"";
    SendMessageW(GetDlgItem(dialog, TextEditId), WM_GETTEXT, 32, reinterpret_cast<LPARAM>(shown));
    EXPECT_EQ(shown, selection);
    for (wchar_t c : {0x395, 0x3BB})
        PostMessageW(GetDlgItem(dialog, TextEditId), WM_CHAR, c, 1);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(Browser->WaitForUrls(3, 5000).back(), unicodeUrl + "%CE%95%CE%BB");
}

TEST_F(HotKeyLookup, AProgramInAConsoleIsNeverInterruptedAndNothingSelectedThereEndsAsAnywhere) {
    // A console program that takes an interrupt the default way: it ends, and its window goes.
    const std::string log = TempFile("console");
    TProcess console("wineconsole cmd /c " + BuildFile("KeyTarget.exe") + " " + log + " Inside");
    const HWND program = WaitForWindow("WordlarkKeyTarget", "Inside", 10000);
    const std::unique_ptr<void, void (*)(void*)> closeAtEnd(
        program, [](void* window) { PostMessageA(static_cast<HWND>(window), WM_CLOSE, 0, 0); });
    const HWND window = WaitForWindow("WineConsoleClass", nullptr, 10000);
    ASSERT_TRUE(program);
    ASSERT_TRUE(window);
    // The program is found as its window is made, and takes the foreground once shown ("ready"):
    // the console is brought back until it stays in front.
    ASSERT_TRUE(WaitUntil([&] { return !ReadLines(log).empty(); }, 10000));
    for (WORD key : {'L', 'M', 'Q'}) {
        ASSERT_TRUE(ActivateToStay(window)) << "in front: " << DescribeWindow(GetForegroundWindow());
        TypeCombo({VK_CONTROL}, key);
        PumpMessages(1000);
    }
    // Only Edit and Lookup shows anything: its dialog, empty.
    const HWND dialog = WaitForNewDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, TextEditId)), "");
    PressButton(dialog, IDCANCEL);
    EXPECT_TRUE(Browser->WaitForUrls(1, 0).empty());
    EXPECT_TRUE(IsWindow(program));
}

TEST_F(HotKeyLookup, ALinkTypedInGreekOnThePageIsStoredAsTypedShownEverywhereAndSendsAPercentEncodedUrl) {
    // "Lexiko" with "https://el.wiktionary.org/wiki/Eidiko:Anazitisi?search=" in Greek letters, as the
    // browser's address bar shows it; the word is "lexi".
    const std::wstring description = {0x39B, 0x3B5, 0x3BE, 0x3B9, 0x3BA, 0x3CC},
                       word = {0x3BB, 0x3AD, 0x3BE, 0x3B7};
    const std::wstring urlBefore = L"https://el.wiktionary.org/wiki/\x395\x3B9\x3B4\x3B9\x3BA\x3CC:"
                                   L"\x391\x3BD\x3B1\x3B6\x3AE\x3C4\x3B7\x3C3\x3B7?search=";
    const std::string sent =
        "https://el.wiktionary.org/wiki/%CE%95%CE%B9%CE%B4%CE%B9%CE%BA%CF%8C:"
        "%CE%91%CE%BD%CE%B1%CE%B6%CE%AE%CF%84%CE%B7%CF%83%CE%B7?search=%CE%BB%CE%AD%CE%BE%CE%B7";
    ASSERT_TRUE(App.ShowWindow());
    ASSERT_TRUE(App.ShowPage(2));
    TypeCombo({VK_MENU}, 'A');
    TypeUnicode(description);
    TypeCombo({}, VK_TAB);
    TypeUnicode(urlBefore);
    // The keys arrive in their own time: the text is waited for.
    HWND list = App.Control(IDC_DEFINEDLINKSLISTBOX), before = App.Control(IDC_WEBLINKBEFOREEDIT);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(before) == Utf8FromUtf16(urlBefore); }, 5000))
        << WindowText(before);
    EXPECT_EQ(ListLines(list).back(), Utf8FromUtf16(description));
    Click(App.Control(IDC_APPLYBUTTON));
    const auto stored = [](const wchar_t* name) {
        wchar_t text[256] = L"";
        DWORD size = sizeof text;
        RegGetValueW(HKEY_CURRENT_USER, L"Software\\Orvane\\Wordlark2\\Links", name, RRF_RT_REG_SZ, nullptr,
                     text, &size);
        return std::wstring(text);
    };
    EXPECT_TRUE(WaitUntil([&] { return stored(L"Link05Desc") == description; }, 3000))
        << Utf8FromUtf16(stored(L"Link05Desc"));
    EXPECT_EQ(stored(L"Link05UrlBefore"), urlBefore);
    ASSERT_TRUE(App.ShowPage(1));
    EXPECT_EQ(ComboLines(App.Control(IDC_DEFAULTWEBLINKCOMBOBOX)).back(), Utf8FromUtf16(description));
    Click(App.Control(IDC_CANCELBUTTON));

    // Chosen in the link menu by its Greek accelerator; named in the Edit-and-Lookup prompt.
    ASSERT_TRUE(Holder->Select(word));
    TypeCombo({VK_CONTROL}, 'M');
    ASSERT_TRUE(WaitUntil([] { return VisibleMenu() != nullptr; }, 5000));
    TypeUnicode(std::wstring(1, 0x3BB));
    EXPECT_EQ(Browser->WaitForUrls(1, 5000), std::vector<std::string>{sent});
    ASettings::SetDefaultLink(Utf8FromUtf16(description));
    ASSERT_TRUE(Holder->Select(word));
    TypeCombo({VK_CONTROL}, 'Q');
    HWND dialog = WaitForNewDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, PromptLabelId)),
              "Look up on " + Utf8FromUtf16(description) + ":");
    PressButton(dialog, IDOK);
    EXPECT_EQ(Browser->WaitForUrls(2, 5000).back(), sent);
}
