// The user's dictionaries end to end: the real WL.exe with small dictionaries that the tests
// write and list, Wine's notepad holding the selection, and the stub browser as the system's
// browser. Keys are injected as the user would press them.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "AnswerFrmRes.h"
#include "ConfigFrmRes.h"
#include "DictWriter.h"
#include "LookupSupport.h"
#include "RegRead.h"
#include "Settings.h"
#include "UnicodeText.h"

using namespace TestSupport;

constexpr const char* AnswerClass = "TAnswerForm";

class DictionaryLookup : public TLookupStoryTest {
protected:
    void SetUp() override {
        TLookupStoryTest::SetUp();
        English = Dictd("Test English",
                        {{"ephemeral", "", "ephemeral\n   Lasting a very short time; compare transient.\n"},
                         {"fleeting", "", "fleeting\n   Gone soon: {ephemeral}, {transient}." + Long + "\n"},
                         {"transient", "", "transient\n   Passing quickly into and out of existence.\n"},
                         {"wolf", "", "wolf\n   A wild animal of the dog family.\n"}});
        const std::string base = Base("stardict");
        DictWriter::TStarDictOptions options;
        options.SameTypes = "m";
        Greek = Written(DictWriter::StarDictFiles(base, {{"λέξη", "Μια λέξη: a word."}}, {}, options),
                        base + ".ifo");
    }
    void TearDown() override {
        TLookupStoryTest::TearDown();
        for (const std::string& file : Files)
            DeleteFileA(file.c_str());
    }

    static std::string Base(const std::string& stem) {
        const std::string file = TempFile(stem);
        return file.substr(0, file.size() - 4); // without ".txt"
    }
    // Writes a dictionary's files, deleted after the test; gives its .index or .ifo file, `path`.
    std::string Written(const std::map<std::string, std::string>& files, const std::string& path) {
        DictWriter::WriteFiles(files);
        for (const auto& file : files)
            Files.push_back(file.first);
        return path;
    }
    // dictd's files with the name entry, the headwords given in dictd's order.
    std::string Dictd(const std::string& name, std::vector<DictWriter::TDictdEntry> entries) {
        const std::string base = Base("dictd");
        entries.insert(entries.begin(), {"00-database-short", "", "00-database-short\n     " + name + "\n"});
        return Written(DictWriter::DictdFiles(base, entries), base + ".index");
    }

    // Lists the dictionaries (none at the first start), then starts WL.exe and notepad.
    void Start(const std::vector<std::string>& dictionaries, bool firstStart = false) {
        std::vector<std::wstring> paths;
        for (const std::string& path : dictionaries)
            paths.push_back(Utf16FromUtf8(path));
        if (!firstStart)
            ASettings::SetDictionaries(paths);
        App = TWordlark::Start(std::string(), firstStart);
        ASSERT_TRUE(App.Window);
        Holder = std::make_unique<TSelectionHolder>("notepad.exe", "Notepad");
        ASSERT_TRUE(Holder->Window());
        Notepad = FindWindowExA(Holder->Window(), nullptr, "EDIT", nullptr);
    }

    void PressOn(const std::wstring& selection, WORD key) {
        ASSERT_TRUE(Holder->Select(selection));
        TypeCombo({VK_CONTROL}, key);
    }

    // The answer window once it shows the text and is in front; null when it did not come.
    HWND WaitForAnswer(const std::string& shown) {
        HWND answer = nullptr;
        const bool came = WaitUntil(
            [&] {
                answer = FindTopWindow(AnswerClass, nullptr);
                return answer && IsWindowVisible(answer) && GetForegroundWindow() == answer &&
                       Shown(answer).find(shown) != std::string::npos;
            },
            5000);
        if (!came)
            ADD_FAILURE() << "no answer showing '" << shown << "'; window text: '"
                          << (answer ? Shown(answer) : "(none)")
                          << "'; in front: " << DescribeWindow(GetForegroundWindow());
        return came ? answer : nullptr;
    }
    static std::string Shown(HWND answer) { return WindowText(GetDlgItem(answer, IDC_ANSWERTEXT)); }

    // Escape closes the answer; notepad is in front again with its whole text still selected.
    void EscapeBackToNotepad(HWND answer, std::size_t selected) {
        TypeCombo({}, VK_ESCAPE);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(answer); }, 3000));
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == Holder->Window(); }, 3000))
            << DescribeWindow(GetForegroundWindow());
        DWORD start = 1, end = 0;
        SendMessageW(Notepad, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, selected);
    }

    // The control's selection, as its own positions.
    static std::pair<int, int> Selected(HWND answer) {
        const auto range = static_cast<DWORD>(SendDlgItemMessageW(answer, IDC_ANSWERTEXT, EM_GETSEL, 0, 0));
        return {LOWORD(range), HIWORD(range)};
    }
    // The line of the text's last character, as the control has wrapped it.
    static int Lines(HWND answer) {
        return static_cast<int>(SendDlgItemMessageW(answer, IDC_ANSWERTEXT, EM_LINEFROMCHAR,
                                                    Utf16FromUtf8(Shown(answer)).size() - 1, 0));
    }
    static std::uint32_t Stored(const char* name) {
        std::uint32_t value = 0;
        return ReadRegistryDword(AnswerKey, name, value) == TRegRead::Read ? value : 0;
    }
    // The answer shows `caption` as its caption, in the same window.
    static bool Shows(HWND answer, const std::string& caption) {
        return WaitUntil([&] { return WindowText(answer) == caption; }, 5000);
    }

    const std::string Long =
        " Words that pass. Words that pass. Words that pass. Words that pass. Words that pass. "
        "Words that pass. Words that pass. Words that pass. Words that pass. Words that pass.";
    std::vector<std::string> Files;
    std::string English, Greek;
    HWND Notepad = nullptr;
};

// Ctrl + L: the answer below the caret in any script, a word selected in it looked up in the same
// window, Escape giving notepad its selection back, another form of a word found through the word;
// a word that no dictionary has in any form, or a text longer than any headword, goes to the web
// link as before.
TEST_F(DictionaryLookup, QuickLookupShowsTheAnswerLooksUpWithinItAndSendsTheRestToTheWebLink) {
    Start({English, Greek});
    const std::wstring quoted = L"\u201Cephemeral.\u201D";
    ASSERT_TRUE(Holder->Select(quoted));
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(Notepad, nullptr), &thread) && thread.hwndCaret);
    RECT caret = thread.rcCaret, place{}, work{};
    MapWindowPoints(thread.hwndCaret, nullptr, reinterpret_cast<POINT*>(&caret), 2);
    TypeCombo({VK_CONTROL}, 'L');

    HWND answer = WaitForAnswer("Lasting a very short time");
    ASSERT_TRUE(answer);
    const std::string shown = Shown(answer);
    EXPECT_EQ(shown.find("Test English"), 0u) << shown;
    EXPECT_EQ(WindowText(answer), "ephemeral");
    EXPECT_NE(WindowText(GetDlgItem(answer, IDC_WEBLOOKUPBUTTON)).find("Look up on Glossa"),
              std::string::npos);
    // Below the caret, or above it where there is no room, and wholly on the screen's work area.
    GetWindowRect(answer, &place);
    EXPECT_TRUE(place.top == caret.bottom || place.bottom == caret.top) << place.top << " " << caret.bottom;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(place.left >= work.left && place.top >= work.top && place.right <= work.right &&
                place.bottom <= work.bottom);

    // Rich edit positions count a paragraph's end as one character.
    std::wstring text = Utf16FromUtf8(shown);
    for (std::size_t at; (at = text.find(L"\r\n")) != std::wstring::npos;)
        text.erase(at, 1);
    const std::size_t word = text.find(L"transient");
    SendMessageW(GetDlgItem(answer, IDC_ANSWERTEXT), EM_SETSEL, word, word + 9);
    TypeCombo({VK_CONTROL}, 'L');
    EXPECT_TRUE(WaitUntil([&] { return Shown(answer).find("Passing quickly") != std::string::npos; }, 5000))
        << Shown(answer);
    EXPECT_EQ(FindTopWindow(AnswerClass, nullptr), answer);
    EXPECT_EQ(WindowText(answer), "transient");
    EscapeBackToNotepad(answer, quoted.size());

    // Another script, and another letter case, found in the StarDict dictionary.
    PressOn(L"\u039B\u03AD\u03BE\u03B7", 'L');
    answer = WaitForAnswer("Μια λέξη: a word.");
    ASSERT_TRUE(answer);
    EXPECT_EQ(Shown(answer).find("Test Book"), 0u); // the writer's name for a StarDict dictionary
    EscapeBackToNotepad(answer, 4);

    // A form of a listed word: that word's entry, the window saying which form it shows.
    PressOn(L"wolves", 'L');
    answer = WaitForAnswer("A wild animal of the dog family.");
    ASSERT_TRUE(answer);
    EXPECT_EQ(Shown(answer).find("wolves \u2192 wolf\r\n\r\nTest English"), 0u) << Shown(answer);
    EXPECT_EQ(WindowText(answer), "wolves");
    EscapeBackToNotepad(answer, 6);

    // The first address the browser is given: no answer above went to the web link.
    PressOn(L"zyzzyvas", 'L');
    EXPECT_EQ(Browser->WaitForUrls(1, 5000),
              std::vector<std::string>{"http://glossa.orvane.com/search?q=zyzzyvas&r=5"});
    // Longer than any headword: not looked for, although it begins with one.
    PressOn(L"ephemeral " + std::wstring(300, L'x'), 'L');
    EXPECT_EQ(Browser->WaitForUrls(2, 5000).size(), 2u);
    EXPECT_EQ(FindTopWindow(AnswerClass, nullptr), nullptr);
}

// Edit and Lookup looks in the dictionaries first and the answer keeps the foreground from the
// closing dialog; "&Dictionaries" in the link menu says when no dictionary has the text.
TEST_F(DictionaryLookup, EditAndLookupAndTheLinkMenuShowTheDictionariesAnswer) {
    Start({English, Greek});
    PressOn(L"ephemeral", 'Q');
    HWND dialog = WaitForWindow("#32770", "Wordlark Lookup", 5000);
    ASSERT_TRUE(dialog && WaitUntil([&] { return GetForegroundWindow() == dialog; }, 5000));
    PumpMessages(300); // the dialog selects its text once shown
    TypeCombo({}, VK_RETURN);
    HWND answer = WaitForAnswer("Lasting a very short time");
    ASSERT_TRUE(answer);
    PumpMessages(500); // the dialog's close must not take the foreground from the answer
    EXPECT_EQ(GetForegroundWindow(), answer);
    EscapeBackToNotepad(answer, 9);

    PressOn(L"zyzzyva", 'M');
    ASSERT_TRUE(WaitUntil([] { return VisibleMenu() != nullptr; }, 5000));
    TypeCombo({}, 'D');
    answer = WaitForAnswer("No dictionary has \"zyzzyva\".");
    ASSERT_TRUE(answer);
    EscapeBackToNotepad(answer, 7);
    PumpMessages(1000);
    EXPECT_EQ(FindTopWindow(AnswerClass, nullptr), nullptr);
    EXPECT_TRUE(Browser->WaitForUrls(1, 0).empty());
}

// Before, both dictionaries answer; after the deletion the next answer says so once, above the
// other's entry; then it is not said again.
TEST_F(DictionaryLookup, ADictionaryDeletedWhileTheProgramRunsIsSaidOnceAndTheOthersStillAnswer) {
    const std::string second = Dictd("Second", {{"ephemeral", "", "ephemeral\n   Short-lived.\n"}});
    Start({second, English});
    const std::string notice = second.substr(second.rfind('\\') + 1) + " could not be read.";
    for (int turn = 0; turn < 3; ++turn) {
        SCOPED_TRACE(turn);
        for (const std::string extension : {".index", ".dict"})
            ASSERT_TRUE(turn != 1 || DeleteFileA((second.substr(0, second.size() - 6) + extension).c_str()));
        PressOn(L"ephemeral", 'L');
        HWND answer = WaitForAnswer("Lasting a very short time");
        ASSERT_TRUE(answer);
        const std::string shown = Shown(answer);
        EXPECT_EQ(shown.find("Short-lived.") != std::string::npos, turn == 0) << shown;
        EXPECT_EQ(shown.find(notice) == 0, turn == 1) << shown;
        EscapeBackToNotepad(answer, 9);
    }
    EXPECT_TRUE(Browser->WaitForUrls(1, 0).empty());
}

// Debian's German word list (hunspell-de-de), added through the real Open dialog beside FreeDict
// German-English, which lacks the dative plural: before, the word goes to the web link; after, it
// shows the entries of its stem and says so.
TEST_F(DictionaryLookup, AGermanFormShowsItsStemsEntryOnceTheWordListIsAdded) {
    Start({"Z:\\usr\\share\\dictd\\freedict-deu-eng.index"});
    PressOn(L"H\u00e4usern", 'L');
    EXPECT_EQ(Browser->WaitForUrls(1, 5000).size(), 1u);
    ASSERT_TRUE(App.ShowWindow() && App.ShowPage(4 /* Dictionaries */));
    Click(App.Control(IDC_DICTIONARYADDBUTTON));
    ASSERT_TRUE(AnswerOpenDialog("Z:\\usr\\share\\hunspell", {"de_DE.dic"}));
    const auto rows = [&] { return ListViewRows(App.Control(IDC_DICTIONARIESLIST), 1); };
    ASSERT_TRUE(WaitUntil([&] { return rows().size() == 2 && rows()[1][0] == "Word forms (de_DE)"; }, 5000));
    Click(App.Control(IDC_OKBUTTON));
    ASSERT_TRUE(WaitUntil([&] { return ASettings::GetDictionaries().size() == 2; }, 3000));

    PressOn(L"H\u00e4usern", 'L');
    HWND answer = WaitForAnswer("house");
    ASSERT_TRUE(answer);
    EXPECT_EQ(Shown(answer).find("H\u00e4usern \u2192 Haus\r\n\r\n"), 0u) << Shown(answer);
    EscapeBackToNotepad(answer, 7);
}

// The window as a dictionary: Tab and Enter follow a link in it, Alt + Left and Alt + Right go back
// and forth, a size given from the window menu and Ctrl + Plus are kept for the next window, a
// misspelt word gets its close words, and kept open the window takes the next word from notepad
// while notepad keeps the foreground.
TEST_F(DictionaryLookup, TheWindowFollowsLinksGoesBackKeepsItsSizeAndZoomAndStaysOpen) {
    Start({English, Greek});
    PressOn(L"fleeting", 'L');
    HWND answer = WaitForAnswer("Gone soon: ephemeral, transient.");
    ASSERT_TRUE(answer);
    EXPECT_EQ(Selected(answer).first, Selected(answer).second); // no link chosen at first
    TypeCombo({}, VK_TAB);
    TypeCombo({}, VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return Selected(answer).second - Selected(answer).first == 9; }, 3000));
    TypeCombo({}, VK_RETURN);
    EXPECT_TRUE(Shows(answer, "transient") && WaitForAnswer("Passing quickly"));
    for (const auto& [key, word] :
         {std::pair{VK_LEFT, "fleeting"}, {VK_RIGHT, "transient"}, {VK_LEFT, "fleeting"}})
        ASSERT_TRUE((TypeCombo({VK_MENU}, static_cast<WORD>(key)), Shows(answer, word))) << word;

    // Four steps of zoom re-wrap the text into more lines; then the window is sized from its
    // window menu, by the keyboard. The next window has both.
    const int lines = Lines(answer);
    for (int step = 0; step < 4; ++step)
        TypeCombo({VK_CONTROL}, VK_OEM_PLUS);
    EXPECT_TRUE(WaitUntil([&] { return Stored("Zoom") == 175 && Lines(answer) > lines; }, 3000))
        << Stored("Zoom") << " " << Lines(answer) << " " << lines;
    RECT after{};
    // Wine's keyboard size loop sometimes lets the first keys pass unseen: the user tries again.
    GUITHREADINFO sizing{};
    sizing.cbSize = sizeof sizing;
    const auto inSizeLoop = [&] {
        return GetGUIThreadInfo(GetWindowThreadProcessId(answer, nullptr), &sizing) &&
               (sizing.flags & GUI_INMOVESIZE);
    };
    for (int attempt = 0; attempt < 3 && Stored("Width") == 0; ++attempt) {
        if (!inSizeLoop())
            PostMessageW(answer, WM_SYSCOMMAND, SC_SIZE, 0);
        ASSERT_TRUE(WaitUntil(inSizeLoop, 3000));
        for (int step = 0; step < 8; ++step)
            TypeCombo({}, VK_RIGHT);
        TypeCombo({}, VK_RETURN);
        WaitUntil([&] { return Stored("Width") != 0; }, 2000);
    }
    GetWindowRect(answer, &after);
    EXPECT_EQ(Stored("Width"), static_cast<std::uint32_t>(after.right - after.left));
    EscapeBackToNotepad(answer, 8);

    PressOn(L"fleeting", 'L');
    answer = WaitForAnswer("Gone soon");
    ASSERT_TRUE(answer);
    RECT again{};
    GetWindowRect(answer, &again);
    EXPECT_EQ(again.right - again.left, after.right - after.left);
    EXPECT_EQ(again.bottom - again.top, after.bottom - after.top);
    EXPECT_TRUE(WaitUntil([&] { return Lines(answer) > lines; }, 3000)) << Lines(answer) << " " << lines;
    TypeCombo({VK_CONTROL}, '0');
    EXPECT_TRUE(WaitUntil([&] { return Stored("Zoom") == 100; }, 3000));
    EscapeBackToNotepad(answer, 8);

    // "&Dictionaries" for a misspelt word: the close words, followed like any link.
    PressOn(L"ephemerl", 'M');
    ASSERT_TRUE(WaitUntil([] { return VisibleMenu() != nullptr; }, 5000));
    TypeCombo({}, 'D');
    answer = WaitForAnswer("No dictionary has \"ephemerl\".\r\nephemeral");
    ASSERT_TRUE(answer);
    TypeCombo({}, VK_TAB);
    TypeCombo({}, VK_RETURN);
    EXPECT_TRUE(Shows(answer, "ephemeral") && WaitForAnswer("Lasting a very short time"));

    // Kept open (Alt + K), the window outlasts the click back into notepad and shows the next word
    // there while notepad stays in front.
    TypeCombo({VK_MENU}, 'K');
    ASSERT_TRUE(WaitUntil([&] { return Stored("KeepOpen") == 1; }, 3000));
    ASSERT_TRUE(Holder->Select(L"transient"));
    PumpMessages(500);
    ASSERT_TRUE(IsWindowVisible(answer));
    TypeCombo({VK_CONTROL}, 'L');
    EXPECT_TRUE(WaitUntil([&] { return Shown(answer).find("Passing quickly") != std::string::npos; }, 5000))
        << Shown(answer);
    PumpMessages(500);
    EXPECT_EQ(GetForegroundWindow(), Holder->Window()) << DescribeWindow(GetForegroundWindow());
    EXPECT_EQ(FindTopWindow(AnswerClass, nullptr), answer);
    EXPECT_TRUE(Browser->WaitForUrls(1, 0).empty());
}

// The build folder holds the English dictionary beside WL.exe as the downloads do. With no settings
// the program lists it, but not a file beside it that is no dictionary; it answers without the
// browser; once the user has removed it, it stays removed through a restart.
TEST_F(DictionaryLookup, TheFirstStartListsTheEnglishDictionaryAndAStoredListStaysAsItIs) {
    const std::string program = BuildFile("WL.exe");
    const std::string foreign = program.substr(0, program.rfind('\\')) + "\\Dictionaries\\notes.index";
    Written({{foreign, "not a dictionary\n"}}, foreign);
    Start({}, true);
    std::vector<std::wstring> listed;
    EXPECT_TRUE(WaitUntil(
        [&] {
            listed = ASettings::GetDictionaries();
            return listed.size() == 1 && listed[0].find(L"\\Dictionaries\\wn.index") != std::wstring::npos;
        },
        10000))
        << listed.size() << " listed, the first: " << (listed.empty() ? "" : Utf8FromUtf16(listed[0]));

    PressOn(L"ephemeral", 'L');
    HWND answer = WaitForAnswer("lasting a very short time");
    ASSERT_TRUE(answer);
    EXPECT_EQ(Shown(answer).find("WordNet (r) 3.0 (2006)"), 0u) << Shown(answer);
    EscapeBackToNotepad(answer, 9);

    ASettings::SetDictionaries({});
    ASSERT_TRUE(App.Quit());
    App = TWordlark::Start(std::string(), true);
    PressOn(L"ephemeral", 'L'); // the browser's first address: the answer above did not go there
    EXPECT_EQ(Browser->WaitForUrls(1, 5000),
              std::vector<std::string>{"http://glossa.orvane.com/search?q=ephemeral&r=5"});
    EXPECT_TRUE(ASettings::HasDictionaryList() && ASettings::GetDictionaries().empty());
}
