// The configuration window's pages in the real WL.exe, driven from outside as a user would: clicks,
// typed keys and Alt mnemonics; the results read back from the controls, the registry and the
// shared block.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "ConfigFrmRes.h"
#include "Settings.h"
#include "SimpleReg.h"
#include "TestSupport.h"

using namespace TestSupport;

namespace {

constexpr const char* UninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvaneWordlark_is1";
constexpr int OverviewPage = 0, HotKeysPage = 1, WebLinksPage = 2;

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

class ConfigPages : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Link = std::make_unique<TSettingsLink>(); }
    static void TearDownTestSuite() { Link.reset(); }
    void SetUp() override {
        ClearProgramRegistry();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, UninstallKey);
        ASettings::SetEnabled(true);
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

    static std::unique_ptr<TSettingsLink> Link;
    TWordlark Wordlark;
};

std::unique_ptr<TSettingsLink> ConfigPages::Link;

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

} // namespace
