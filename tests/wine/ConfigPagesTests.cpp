// The configuration window's pages in the real WL.exe, driven from outside as a user would: clicks,
// typed keys and Alt mnemonics; the results read back from the controls, the registry and the
// shared block.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <memory>

#include "ConfigFrmRes.h"
#include "DictWriter.h"
#include "ProgramTest.h"
#include "Settings.h"
#include "SimpleReg.h"
#include "TestSupport.h"
#include "UnicodeText.h"

using namespace TestSupport;

namespace {

constexpr const char* UninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvaneWordlark_is1";
constexpr int OverviewPage = 0, HotKeysPage = 1, WebLinksPage = 2, DictionariesPage = 4;

std::int32_t StoredCombo(int index) {
    const char name[] = {'K', 'e', 'y', 'C', 'o', 'm', 'b', 'o', static_cast<char>('0' + index), '\0'};
    return ASimpleReg::ReadInteger(KeyCombosKey, name, -1);
}

int StoredLinkCount() {
    return ASimpleReg::ReadInteger(LinksKey, "LinkCount", -1);
}

bool Checked(HWND button) {
    return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

class ConfigPages : public TProgramTest {
protected:
    void SetUp() override {
        TProgramTest::SetUp();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, UninstallKey);
    }
    void TearDown() override {
        if (Wordlark.Process && !Wordlark.Process->Wait(0))
            Wordlark.Quit();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, UninstallKey);
    }
    // The program started on a fresh registry, its window shown and in front.
    void StartShown(const std::string& program = std::string()) {
        Wordlark = TWordlark::Start(program);
        ASSERT_NE(Wordlark.Window, nullptr);
        ASSERT_TRUE(Wordlark.ShowWindow());
    }
    HWND Control(int id) const { return Wordlark.Control(id); }
    int Page() const {
        return static_cast<int>(SendMessageA(Control(IDC_MAINPAGES), 0x130B /* TCM_GETCURSEL */, 0, 0));
    }
    std::vector<std::string> LinkLines() const { return ListLines(Control(IDC_DEFINEDLINKSLISTBOX)); }
    int SelectedLink() const { return ListSelection(Control(IDC_DEFINEDLINKSLISTBOX)); }

    TWordlark Wordlark;
};

TEST_F(ConfigPages, HotKeysAreDefinedByPressingThemAndStoredOnlyByAValidApply) {
    StartShown();
    // Nothing the window shows counts before Apply: neither the enabled switch nor a hot key.
    Click(Control(IDC_ENABLEWORDLARKCHECKBOX));
    ASSERT_FALSE(Checked(Control(IDC_ENABLEWORDLARKCHECKBOX)));
    EXPECT_TRUE(ASettings::GetEnabled());

    ASSERT_TRUE(Wordlark.ShowPage(HotKeysPage));
    HWND menuEdit = Control(IDC_MENULOOKUPHOTKEYEDIT);
    EXPECT_EQ(WindowText(menuEdit), KeyComboToText(DefaultKeyCombos[MenuLookup]));
    Click(menuEdit);
    const TKeyCombo ctrlAltX = TKeyCombo::Make('X', false, ModCtrl | ModAlt);
    TypeCombo({VK_CONTROL, VK_MENU}, 'X');
    ASSERT_TRUE(WaitUntil([&] { return WindowText(menuEdit) == KeyComboToText(ctrlAltX); }, 3000));
    const auto length = static_cast<WORD>(WindowText(menuEdit).size());
    EXPECT_EQ(SendMessageA(menuEdit, EM_GETSEL, 0, 0), MAKELONG(length, length)) << "caret at the end";
    // Plain letters and Shift with a letter are no hot keys; the read-only edit ignores typing.
    TypeText("ab");
    TypeCombo({VK_SHIFT}, 'C');
    PumpMessages(300);
    EXPECT_EQ(WindowText(menuEdit), KeyComboToText(ctrlAltX));
    // An Alt combination is captured without pressing the button of that mnemonic ("&Help"), which
    // would take the focus: the next combination still reaches the same edit.
    TypeCombo({VK_MENU}, 'H');
    ASSERT_TRUE(WaitUntil(
        [&] { return WindowText(menuEdit) == KeyComboToText(TKeyCombo::Make('H', false, ModAlt)); }, 3000));
    TypeCombo({VK_CONTROL, VK_MENU}, 'X');
    EXPECT_TRUE(WaitUntil([&] { return WindowText(menuEdit) == KeyComboToText(ctrlAltX); }, 3000));
    // Pressed while the window is in front, the old hot key is captured, not looked up, and stays
    // in force.
    EXPECT_EQ(ASettings::GetKeyCombo(MenuLookup).Value, DefaultKeyCombos[MenuLookup].Value);
    EXPECT_EQ(StoredCombo(MenuLookup), -1);

    Click(Control(IDC_APPLYBUTTON));
    ASSERT_TRUE(WaitUntil([&] { return ASettings::GetKeyCombo(MenuLookup).Value == ctrlAltX.Value; }, 3000));
    EXPECT_EQ(StoredCombo(MenuLookup), static_cast<std::int32_t>(ctrlAltX.Value));
    EXPECT_FALSE(ASettings::GetEnabled());
    EXPECT_TRUE(IsWindowVisible(Wordlark.Window)) << "Apply keeps the window open";

    // The same combination for Quick Lookup, with a new-window change and an empty link too: only
    // the hot-key error is shown, on the Hot Keys page, and nothing at all is stored.
    ASSERT_TRUE(Wordlark.ShowPage(WebLinksPage));
    Click(Control(IDC_WEBLINKADDBUTTON));
    Click(Control(IDC_NEWBROWSERWINDOWCHECKBOX));
    ASSERT_TRUE(Wordlark.ShowPage(HotKeysPage));
    Click(Control(IDC_QUICKLOOKUPHOTKEYEDIT));
    TypeCombo({VK_CONTROL, VK_MENU}, 'X');
    ASSERT_TRUE(WaitUntil(
        [&] { return WindowText(Control(IDC_QUICKLOOKUPHOTKEYEDIT)) == KeyComboToText(ctrlAltX); }, 3000));
    ASSERT_TRUE(Wordlark.ShowPage(OverviewPage));
    const int linksBefore = StoredLinkCount();
    Click(Control(IDC_OKBUTTON));
    EXPECT_EQ(AnswerMessageBox("Key Combinations", IDOK), "The key combination \"" +
                                                              KeyComboToText(ctrlAltX) +
                                                              "\" may not be used for more than one hot key");
    EXPECT_EQ(Page(), HotKeysPage);
    EXPECT_EQ(WaitForMessageBox("Web Links", 500), nullptr);
    EXPECT_TRUE(IsWindowVisible(Wordlark.Window));
    EXPECT_EQ(StoredCombo(QuickLookup), static_cast<std::int32_t>(DefaultKeyCombos[QuickLookup].Value));
    EXPECT_TRUE(ASettings::GetOpenInNewBrowser());
    EXPECT_EQ(StoredLinkCount(), linksBefore);

    // Reset then Cancel changes nothing; the next showing reloads the stored keys.
    Click(Control(IDC_RESETHOTKEYSBUTTON));
    EXPECT_EQ(AnswerMessageBox("Reset Hot Keys", IDYES), "Do you want to reset all hot keys?");
    EXPECT_EQ(WindowText(menuEdit), KeyComboToText(DefaultKeyCombos[MenuLookup]));
    Click(Control(IDC_CANCELBUTTON));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(Wordlark.Window); }, 3000));
    EXPECT_EQ(ASettings::GetKeyCombo(MenuLookup).Value, ctrlAltX.Value);
    ASSERT_TRUE(Wordlark.ShowWindow());
    EXPECT_EQ(WindowText(menuEdit), KeyComboToText(ctrlAltX));
    EXPECT_EQ(LinkLines().size(), 5u) << "the unsaved link is gone";

    // Reset then OK stores the defaults and the first link as the default link.
    ASSERT_TRUE(Wordlark.ShowPage(HotKeysPage));
    Click(Control(IDC_RESETHOTKEYSBUTTON));
    AnswerMessageBox("Reset Hot Keys", IDYES);
    Click(Control(IDC_OKBUTTON));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(Wordlark.Window); }, 3000));
    for (int i = 0; i < HotKeyCount; ++i)
        EXPECT_EQ(StoredCombo(i), static_cast<std::int32_t>(DefaultKeyCombos[i].Value));
    EXPECT_EQ(ASettings::GetKeyCombo(MenuLookup).Value, DefaultKeyCombos[MenuLookup].Value);
    EXPECT_EQ(ASimpleReg::ReadString(LinksKey, "DefaultLink", "(none)"), PredefinedLinks[0].Description);
}

// This test program holds Ctrl + Alt + K as its own system-wide hot key, as a screen-capture tool would.
// It takes the hot key only once the combination is pressed into the edit: Wine hands a registered
// hot key to its holder before any low-level hook sees it, which Windows does not.
TEST_F(ConfigPages, AHotKeyThatAnotherProgramHoldsIsStoredOnlyWhenTheUserKeepsIt) {
    StartShown();
    ASSERT_TRUE(Wordlark.ShowPage(HotKeysPage));
    const TKeyCombo ctrlAltK = TKeyCombo::Make('K', false, ModCtrl | ModAlt);
    Click(Control(IDC_QUICKLOOKUPHOTKEYEDIT));
    TypeCombo({VK_CONTROL, VK_MENU}, 'K');
    ASSERT_TRUE(WaitUntil(
        [&] { return WindowText(Control(IDC_QUICKLOOKUPHOTKEYEDIT)) == KeyComboToText(ctrlAltK); }, 3000))
        << WindowText(Control(IDC_QUICKLOOKUPHOTKEYEDIT));
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'K'));
    TypeCombo({VK_SHIFT}, VK_TAB); // out of the edit, where Ctrl + Tab would be a combination
    ASSERT_TRUE(Wordlark.ShowPage(OverviewPage));
    for (const int answer : {IDNO, IDYES}) {
        Click(Control(IDC_APPLYBUTTON));
        EXPECT_EQ(AnswerMessageBox("Hot Key in Use", answer),
                  KeyComboToText(ctrlAltK) +
                      " is a hot key of another program. While Wordlark runs, that program does not get it. "
                      "Keep it?");
        if (answer == IDNO) {
            // The page is shown as the refused Apply returns, before anything could be stored.
            EXPECT_TRUE(WaitUntil([&] { return Page() == HotKeysPage; }, 3000));
            EXPECT_EQ(StoredCombo(QuickLookup), -1);
            EXPECT_EQ(ASettings::GetKeyCombo(QuickLookup).Value, DefaultKeyCombos[QuickLookup].Value);
        }
    }
    EXPECT_TRUE(WaitUntil(
        [&] { return StoredCombo(QuickLookup) == static_cast<std::int32_t>(ctrlAltK.Value); }, 3000));
    EXPECT_EQ(ASettings::GetKeyCombo(QuickLookup).Value, ctrlAltK.Value);
    // Kept once, it is not asked about again; the program still holds its hot key.
    Click(Control(IDC_APPLYBUTTON));
    EXPECT_EQ(WaitForMessageBox("Hot Key in Use", 500), nullptr);
    UnregisterHotKey(nullptr, 1);
}

TEST_F(ConfigPages, WebLinksAreEditedInTheWindowAndStoredOnlyWhenValid) {
    StartShown();
    ASSERT_TRUE(Wordlark.ShowPage(WebLinksPage));
    ASSERT_EQ(LinkLines().size(), 5u);
    EXPECT_EQ(SelectedLink(), 0);
    // A larger window: the list grows in height, the details group in width, Reset keeps its corner.
    auto size = [](HWND control) {
        RECT rect{};
        GetWindowRect(control, &rect);
        return rect;
    };
    const RECT list = size(Control(IDC_DEFINEDLINKSLISTBOX)), group = size(Control(IDC_EDITWEBLINKGROUPBOX)),
               reset = size(Control(IDC_RESETBUTTON)), window = size(Wordlark.Window);
    SetWindowPos(Wordlark.Window, nullptr, 0, 0, window.right - window.left + 120,
                 window.bottom - window.top + 90, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages(300);
    const RECT listNow = size(Control(IDC_DEFINEDLINKSLISTBOX)),
               groupNow = size(Control(IDC_EDITWEBLINKGROUPBOX)), resetNow = size(Control(IDC_RESETBUTTON));
    EXPECT_EQ(listNow.bottom - listNow.top, list.bottom - list.top + 90);
    EXPECT_EQ(listNow.right - listNow.left, list.right - list.left);
    EXPECT_EQ(groupNow.right - groupNow.left, group.right - group.left + 120);
    EXPECT_EQ(resetNow.left - reset.left, 120);
    EXPECT_EQ(resetNow.top - reset.top, 90);
    // A predefined link: details and Delete greyed, the label shown; it may still move down.
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_WEBLINKDESCRIPTIONEDIT)));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_WEBLINKDELETEBUTTON)));
    EXPECT_TRUE(IsWindowVisible(Control(IDC_PREDEFINEDLINKLABEL)));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_WEBLINKMOVEUPBUTTON)));
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_WEBLINKMOVEDOWNBUTTON)));

    // Alt+A adds an empty custom link at the end; typing shows in its list line at once.
    TypeCombo({VK_MENU}, 'A');
    ASSERT_TRUE(WaitUntil([&] { return LinkLines().size() == 6u; }, 3000));
    EXPECT_EQ(SelectedLink(), 5);
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_WEBLINKDESCRIPTIONEDIT)));
    EXPECT_FALSE(IsWindowVisible(Control(IDC_PREDEFINEDLINKLABEL)));
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_WEBLINKMOVEUPBUTTON)));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_WEBLINKMOVEDOWNBUTTON)));
    TypeText("My Site");
    EXPECT_EQ(LinkLines()[5], "My Site");
    TypeCombo({}, VK_TAB);
    TypeText("http://example.com/?q=");
    // Alt+A with the focus in an edit: the new entry does not take the old one's texts.
    TypeCombo({VK_MENU}, 'A');
    ASSERT_TRUE(WaitUntil([&] { return LinkLines().size() == 7u; }, 3000));
    EXPECT_EQ(LinkLines()[5], "My Site");
    EXPECT_EQ(WindowText(Control(IDC_WEBLINKBEFOREEDIT)), "");
    TypeText("Second");

    // Move up, then delete the middle entry (No first, then Yes) and the last entry.
    Click(Control(IDC_WEBLINKMOVEUPBUTTON));
    EXPECT_EQ(LinkLines()[5], "Second");
    EXPECT_EQ(LinkLines()[6], "My Site");
    EXPECT_EQ(SelectedLink(), 5);
    Click(Control(IDC_WEBLINKDELETEBUTTON));
    EXPECT_EQ(AnswerMessageBox("Delete Web Link", IDNO),
              "Are you sure you want to delete the web link \"Second\"?");
    EXPECT_EQ(LinkLines().size(), 7u);
    Click(Control(IDC_WEBLINKDELETEBUTTON));
    AnswerMessageBox("Delete Web Link", IDYES);
    ASSERT_EQ(LinkLines().size(), 6u);
    EXPECT_EQ(SelectedLink(), 5);
    EXPECT_EQ(WindowText(Control(IDC_WEBLINKBEFOREEDIT)), "http://example.com/?q=");
    Click(Control(IDC_WEBLINKDELETEBUTTON));
    AnswerMessageBox("Delete Web Link", IDYES);
    ASSERT_EQ(LinkLines().size(), 5u);
    EXPECT_EQ(SelectedLink(), 4) << "the new last entry";
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_WEBLINKDELETEBUTTON)));

    // An empty description, then a repeated one, are refused with nothing stored.
    Click(Control(IDC_WEBLINKADDBUTTON));
    TypeText("  ");
    ASSERT_TRUE(Wordlark.ShowPage(OverviewPage));
    const int linksBefore = StoredLinkCount();
    Click(Control(IDC_APPLYBUTTON));
    EXPECT_EQ(AnswerMessageBox("Web Links", IDOK), "You must enter a description for each web link.");
    EXPECT_EQ(Page(), WebLinksPage);
    EXPECT_EQ(SelectedLink(), 5);
    TypeText("Glossa");
    EXPECT_EQ(LinkLines()[5], "Glossa") << "the focus went to the description, its text selected";
    Click(Control(IDC_APPLYBUTTON));
    EXPECT_EQ(AnswerMessageBox("Web Links", IDOK),
              "Two web links cannot have the same description: \"Glossa\"");
    EXPECT_EQ(SelectedLink(), 0);
    EXPECT_EQ(StoredLinkCount(), linksBefore);
    EXPECT_EQ(ASimpleReg::ReadString(LinksKey, "Link05Desc", "(none)"), "(none)");

    // Renamed, the new link becomes the default link; renamed once more, the drop-down falls back
    // to the first link when the user returns to the Hot Keys page, and Apply stores that one.
    TypeCombo({}, VK_END); // the list has the focus: the last entry
    ASSERT_TRUE(WaitUntil([&] { return SelectedLink() == 5; }, 3000)) << SelectedLink();
    Click(Control(IDC_WEBLINKDESCRIPTIONEDIT));
    TypeCombo({}, VK_END);
    TypeText(" 2");
    ASSERT_TRUE(Wordlark.ShowPage(HotKeysPage));
    HWND combo = Control(IDC_DEFAULTWEBLINKCOMBOBOX);
    ASSERT_EQ(ComboLines(combo).size(), 6u);
    EXPECT_EQ(ComboLines(combo)[5], "Glossa 2");
    Click(combo);
    TypeCombo({}, VK_END);
    TypeCombo({}, VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return ComboSelection(combo) == 5; }, 3000));
    ASSERT_TRUE(Wordlark.ShowPage(WebLinksPage));
    Click(Control(IDC_WEBLINKDESCRIPTIONEDIT));
    TypeCombo({}, VK_END);
    TypeText("x");
    ASSERT_TRUE(Wordlark.ShowPage(HotKeysPage));
    EXPECT_EQ(ComboLines(combo)[5], "Glossa 2x");
    EXPECT_EQ(ComboSelection(combo), 0);
    Click(Control(IDC_APPLYBUTTON));
    ASSERT_TRUE(WaitUntil([] { return StoredLinkCount() == 6; }, 3000));
    EXPECT_EQ(ASimpleReg::ReadString(LinksKey, "Link05Desc"), "Glossa 2x");
    EXPECT_EQ(ASimpleReg::ReadString(LinksKey, "Link05UrlBefore"), "");
    EXPECT_EQ(ASimpleReg::ReadString(LinksKey, "DefaultLink"), PredefinedLinks[0].Description);

    // Reset by its accelerator: Cancel keeps the list, OK brings back the predefined links only,
    // which Apply stores in their order.
    ASSERT_TRUE(Wordlark.ShowPage(WebLinksPage));
    TypeCombo({VK_MENU}, 'R');
    EXPECT_EQ(AnswerMessageBox("Reset", IDCANCEL),
              "Do you want to reset all web links?  You will lose any custom entries if you continue.");
    EXPECT_EQ(LinkLines().size(), 6u);
    TypeCombo({VK_MENU}, 'R');
    AnswerMessageBox("Reset", IDOK);
    ASSERT_EQ(LinkLines().size(), 5u);
    EXPECT_EQ(SelectedLink(), 0);
    Click(Control(IDC_APPLYBUTTON));
    ASSERT_TRUE(WaitUntil([] { return StoredLinkCount() == 5; }, 3000));
    for (int i = 0; i < PredefinedLinkCount; ++i)
        EXPECT_TRUE(LinksIdentical(ASettings::ReadLink(i), PredefinedLinks[i])) << i;

    // Another letter case, or a trailing blank, makes another description: stored as typed.
    for (const char* description : {"glossa", "Glossa "}) {
        Click(Control(IDC_WEBLINKADDBUTTON));
        TypeText(description);
    }
    Click(Control(IDC_APPLYBUTTON));
    ASSERT_TRUE(WaitUntil([] { return StoredLinkCount() == 7; }, 3000)) << StoredLinkCount();
    EXPECT_EQ(ASimpleReg::ReadUnicodeString(LinksKey, "Link05Desc", ""), "glossa");
    EXPECT_EQ(ASimpleReg::ReadUnicodeString(LinksKey, "Link06Desc", ""), "Glossa ");
}

TEST_F(ConfigPages, TheUtf8BoxFollowsTheSelectedLinkANewLinkStartsCheckedAndApplyStoresIt) {
    // Two links of the user's own whose encodings read as the code page: 64 KB long, of another type.
    ASettings::GetLinkCount();
    ASettings::WriteLink(5, TWebLink{"Long", "http://a.example/?q=", "", false});
    ASettings::WriteLink(6, TWebLink{"Number", "http://b.example/?q=", "", false});
    ASettings::SetLinkCount(7);
    ASimpleReg::WriteString(LinksKey, "Link05Encoding", "UTF-8" + std::string(65536, ' '));
    const DWORD number = 1;
    RegSetKeyValueA(HKEY_CURRENT_USER, LinksKey, "Link06Encoding", REG_DWORD, &number, sizeof number);
    StartShown();
    ASSERT_TRUE(Wordlark.ShowPage(WebLinksPage));
    HWND box = Control(IDC_WEBLINKUTF8CHECKBOX);
    EXPECT_FALSE(IsWindowEnabled(box) || Checked(box)) << "a predefined link";
    Click(Control(IDC_DEFINEDLINKSLISTBOX));
    TypeCombo({}, VK_END);
    ASSERT_TRUE(WaitUntil([&] { return SelectedLink() == 6; }, 3000)) << SelectedLink();
    EXPECT_TRUE(IsWindowEnabled(box) && !Checked(box));
    Click(box);
    Click(Control(IDC_WEBLINKADDBUTTON));
    EXPECT_TRUE(Checked(box));
    TypeText("New");
    Click(Control(IDC_APPLYBUTTON));
    ASSERT_TRUE(WaitUntil([] { return StoredLinkCount() == 8; }, 3000));
    EXPECT_EQ(ASimpleReg::ReadString(LinksKey, "Link05Encoding"), EncodingTexts[0]);
    EXPECT_EQ(ASimpleReg::ReadString(LinksKey, "Link06Encoding"), "UTF-8");
    EXPECT_EQ(ASimpleReg::ReadString(LinksKey, "Link07Encoding"), "UTF-8");
}

void SetUninstallCommand(const std::string& command) {
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString", REG_SZ, command.c_str(),
                    static_cast<DWORD>(command.size() + 1));
}

TEST_F(ConfigPages, UninstallStartsTheRegisteredUninstallerOnlyAfterYesAndEndsTheProgram) {
    StartShown();
    EXPECT_EQ(Page(), OverviewPage);
    const std::string stub = BuildFile("StubUninstaller.exe"), log = stub + ".log";
    DeleteFileA(log.c_str());
    // No key, a folder, a command with arguments: the error box, and the program runs on.
    for (const std::string& command : {std::string(), ExeDir(), Quoted(stub) + " /x"}) {
        if (!command.empty())
            SetUninstallCommand(command);
        Click(Control(IDC_UNINSTALLBUTTON));
        EXPECT_EQ(AnswerMessageBox("Uninstall", IDOK), "Unable to launch uninstall.")
            << command << "; the user's entry: "
            << ASimpleReg::ReadString(HKEY_CURRENT_USER, UninstallKey, "UninstallString", "(none)");
    }
    SetUninstallCommand(Quoted(stub));
    Click(Control(IDC_UNINSTALLBUTTON));
    EXPECT_EQ(AnswerMessageBox("Uninstall", IDNO), "Do you want to uninstall Wordlark?");
    EXPECT_FALSE(Wordlark.Process->Wait(500));
    Click(Control(IDC_UNINSTALLBUTTON));
    AnswerMessageBox("Uninstall", IDYES);
    ASSERT_TRUE(Wordlark.Process->Wait(10000));
    EXPECT_EQ(Wordlark.Process->ExitCode(), 0u);
    ASSERT_TRUE(WaitUntil([&] { return ReadLines(log).size() >= 2; }, 5000));
    EXPECT_EQ(ReadLines(log), (std::vector<std::string>{"/SILENT", "end"}));
    DeleteFileA(log.c_str());
}

TEST_F(ConfigPages, ViewInstructionsOpensTheReadMeBesideTheProgramByMouseAndBySpace) {
    // A copy of the program in a folder of its own, with a read-me beside it.
    const std::string folder = TempFile("program") + ".dir\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    for (const char* file : {"WL.exe", "Tarnwick2.dll"})
        ASSERT_TRUE(CopyFileA(BuildFile(file).c_str(), (folder + file).c_str(), TRUE));
    const std::string readMe = folder + "readme.txt";
    { std::ofstream(readMe) << "Wordlark test instructions\n"; }
    // A fresh Wine prefix knows the text-file type but may not map ".txt" to it, as Windows does.
    const bool mapText = RegGetValueA(HKEY_CLASSES_ROOT, ".txt", nullptr, RRF_RT_REG_SZ, nullptr, nullptr,
                                      nullptr) != ERROR_SUCCESS;
    if (mapText)
        RegSetKeyValueA(HKEY_CLASSES_ROOT, ".txt", nullptr, REG_SZ, "txtfile", 8);
    StartShown(folder + "WL.exe");

    // Notepad's window is found as it is made, before it has its file's name and is maximised.
    auto openedReadMe = []() -> testing::AssertionResult {
        HWND notepad = WaitForWindow("Notepad", nullptr, 10000);
        if (!notepad)
            return testing::AssertionFailure() << "no Notepad";
        const bool ok = WaitUntil(
            [&] { return WindowText(notepad).find("readme") != std::string::npos && IsZoomed(notepad); },
            5000);
        const std::string seen = DescribeWindow(notepad) + (IsZoomed(notepad) ? ", maximised" : "");
        PostMessageA(notepad, WM_CLOSE, 0, 0);
        WaitUntil([&] { return !IsWindow(notepad); }, 5000);
        return ok ? testing::AssertionSuccess() : testing::AssertionFailure() << seen;
    };
    Click(Control(IDC_READMETEXTLINKLABEL));
    EXPECT_TRUE(openedReadMe());
    ASSERT_TRUE(Activate(Wordlark.Window));
    TypeCombo({}, VK_SPACE);
    EXPECT_TRUE(openedReadMe()) << "Space on the focused link";

    ASSERT_TRUE(Wordlark.Quit());
    for (const char* file : {"WL.exe", "Tarnwick2.dll", "readme.txt"})
        DeleteFileA((folder + file).c_str());
    RemoveDirectoryA(folder.c_str());
    if (mapText)
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".txt");
}

} // namespace

// Several files chosen at once in the real Open dialog: the damaged one is refused with its box, the
// others listed with their names and counts; Move Up reorders; only Apply stores the list, and
// Cancel drops a removal. A listed file deleted while the program runs shows as missing the next
// time and stays listed.
TEST_F(ConfigPages, DictionariesAreAddedInTheOpenDialogReorderedAndStoredOnlyByApply) {
    const std::string file = TempFile("dictionaries"), folder = file.substr(0, file.rfind('.'));
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    // clang-format off
    DictWriter::WriteFiles(DictWriter::StarDictFiles(folder + "\\fruit", {{"apple", "mRound."}, {"pear", "mSweet."}}));
    DictWriter::WriteFiles(DictWriter::DictdFiles(folder + "\\animals", {
        {"00-database-short", "", "00-database-short\n Animals\n"},
        {"cat", "", "A cat.\n"}, {"dog", "", "A dog.\n"}, {"emu", "", "A bird.\n"}}));
    // clang-format on
    DictWriter::WriteFiles(
        {{folder + "\\broken.ifo", "StarDict's dict ifo file\nversion=2.4.2\nwordcount=7\n"}});
    const std::vector<std::string> fruit = {"Test Book", "2", folder + "\\fruit.ifo"},
                                   animals = {"Animals", "3", folder + "\\animals.index"};
    using TRows = std::vector<std::vector<std::string>>;
    const auto rows = [&] { return ListViewRows(Control(IDC_DICTIONARIESLIST), 3); };
    const auto buttons = [&] {
        std::string enabled;
        for (int id : {IDC_DICTIONARYREMOVEBUTTON, IDC_DICTIONARYMOVEUPBUTTON, IDC_DICTIONARYMOVEDOWNBUTTON})
            enabled += IsWindowEnabled(Control(id)) ? '1' : '0';
        return enabled;
    };
    StartShown();
    ASSERT_TRUE(Wordlark.ShowPage(DictionariesPage));
    EXPECT_EQ(buttons(), "000") << "nothing listed, nothing to remove or move";
    Click(Control(IDC_DICTIONARYADDBUTTON));
    ASSERT_TRUE(AnswerOpenDialog(folder, {"fruit.ifo", "broken.ifo", "animals.index"}));
    const std::string refusal = AnswerMessageBox("Dictionary Not Added", IDOK);
    EXPECT_NE(refusal.find(folder + "\\broken.ifo\r\n"), std::string::npos) << refusal;
    ASSERT_TRUE(WaitUntil([&] { return rows() == TRows{fruit, animals}; }, 3000)) << rows().size();
    EXPECT_EQ(buttons(), "110") << "the last one added is selected";
    Click(Control(IDC_DICTIONARYMOVEUPBUTTON));
    ASSERT_TRUE(WaitUntil([&] { return rows() == TRows{animals, fruit}; }, 3000));
    EXPECT_EQ(buttons(), "101");
    EXPECT_TRUE(ASettings::GetDictionaries().empty()) << "stored before Apply";

    Click(Control(IDC_APPLYBUTTON));
    const std::vector<std::wstring> stored = {Utf16FromUtf8(animals[2]), Utf16FromUtf8(fruit[2])};
    ASSERT_TRUE(WaitUntil([&] { return ASettings::GetDictionaries() == stored; }, 3000));
    Click(Control(IDC_DICTIONARYREMOVEBUTTON));
    ASSERT_TRUE(WaitUntil([&] { return rows() == TRows{fruit}; }, 3000));
    Click(Control(IDC_CANCELBUTTON));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(Wordlark.Window); }, 3000));
    EXPECT_EQ(ASettings::GetDictionaries(), stored);

    ASSERT_TRUE(DeleteFileA(fruit[2].c_str()));
    ASSERT_TRUE(Wordlark.ShowWindow());
    const std::vector<std::string> missing = {"(missing)", "", fruit[2]};
    ASSERT_TRUE(WaitUntil([&] { return rows() == TRows{animals, missing}; }, 3000)) << rows()[1][0];
    Click(Control(IDC_OKBUTTON));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(Wordlark.Window); }, 3000));
    EXPECT_EQ(ASettings::GetDictionaries(), stored);
}
