// Key names of the active layout and real key synthesis: the events that SendKeyCombo sends
// arrive, in order, at the focused window of another process.
#include <gtest/gtest.h>

#include "KeyCombos.h"
#include "TestSupport.h"

using namespace TestSupport;

TEST(KeyNames, WinKeysReadWinAndKeysWithoutScanCodeReadQuestionMark) {
    EXPECT_EQ(KeyNameText(VkLWin, false), "Win");
    EXPECT_EQ(KeyNameText(VkRWin, true), "Win");
    EXPECT_EQ(KeyNameText(VK_LBUTTON, false), "?");
    EXPECT_EQ(KeyComboToText(TKeyCombo::Make('X', false, ModShift | ModCtrl)),
              KeyNameText(VK_CONTROL, false) + " + " + KeyNameText(VK_SHIFT, false) + " + X");
    EXPECT_EQ(KeyComboToText(TKeyCombo{0x00450008}), "Win + E");
    EXPECT_FALSE(KeyNameText(VK_CONTROL, false).empty());
}

TEST(KeyNames, ExtendedFlagSelectsTheNavigationBlockName) {
    // Delete of the navigation block and of the keypad share a scan code; the extended bit tells them apart.
    EXPECT_NE(KeyNameText(VK_DELETE, true), KeyNameText(VK_DELETE, false));
}

class KeySynthesis : public ::testing::Test {
protected:
    void SetUp() override {
        Log = TempFile("keys");
        Target =
            std::make_unique<TProcess>("\"" + BuildFile("KeyTarget.exe") + "\" \"" + Log + "\" Synthesis");
        ASSERT_TRUE(Target->Started());
        Window = WaitForWindow("WordlarkKeyTarget", "Synthesis", 10000, Target->Id());
        ASSERT_NE(Window, nullptr);
        ASSERT_TRUE(Activate(Window));
        ASSERT_TRUE(WaitUntil([&] { return !ReadLines(Log).empty(); }, 5000));
    }
    void TearDown() override {
        Target.reset(); // the helper keeps its log open
        DeleteFileA(Log.c_str());
    }

    std::vector<std::string> KeyLines(size_t count) {
        std::vector<std::string> lines;
        WaitUntil(
            [&] {
                lines = ReadLines(Log);
                lines.erase(lines.begin()); // "ready"
                return lines.size() >= count;
            },
            5000);
        return lines;
    }

    std::string Log;
    std::unique_ptr<TProcess> Target;
    HWND Window = nullptr;
};

TEST_F(KeySynthesis, ReleaseSendsModifiersAndTheirTwinsBeforeTheKey) {
    SendKeyCombo(TKeyCombo::Make('Q', false, ModCtrl | ModAlt), false);
    const std::vector<std::string> expected = {"up 11 0", "up 11 1", "up 12 0", "up 12 1", "up 51 0"};
    EXPECT_EQ(KeyLines(expected.size()), expected);
}

TEST_F(KeySynthesis, PressAndReleaseOfAnExtendedKeyFlagOnlyTheKey) {
    SendKeyCombo(TKeyCombo::Make(VK_DELETE, true, ModCtrl), true);
    SendKeyCombo(TKeyCombo::Make(VK_DELETE, true, ModCtrl), false);
    const std::vector<std::string> expected = {"down 11 0", "down 2E 1", "up 11 0", "up 11 1", "up 2E 1"};
    EXPECT_EQ(KeyLines(expected.size()), expected);
}

TEST_F(KeySynthesis, ReleasingWinLetsGoOfBothWinKeys) {
    SendKeyCombo(TKeyCombo{0x00450008}, false);
    const std::vector<std::string> expected = {"up 5B 0", "up 5C 0", "up 45 0"};
    EXPECT_EQ(KeyLines(expected.size()), expected);
}
