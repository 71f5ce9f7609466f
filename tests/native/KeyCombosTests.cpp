// The portable key-combination logic: layout, reserved table, text order, event sequences, and the
// modifier state that the hook keeps.
#include <gtest/gtest.h>

#include "KeyCombos.h"
#include "hook/HookDecision.h"

namespace {

constexpr std::uint16_t VkEscape = 0x1B, VkTab = 0x09, VkDelete = 0x2E, VkF5 = 0x74, VkReturn = 0x0D;

TKeyCombo Combo(std::uint16_t vk, std::uint8_t modifiers, bool extended = false) {
    return TKeyCombo::Make(vk, extended, modifiers);
}

std::string FakeKeyName(std::uint16_t vk, bool extended) {
    switch (vk) {
    case VkControl:
        return "Ctrl";
    case VkMenu:
        return "Alt";
    case VkShift:
        return "Shift";
    case VkLWin:
        return "Win";
    }
    return std::string(1, static_cast<char>(vk)) + (extended ? "(ext)" : "");
}

std::string Events(TKeyCombo combo, bool press) {
    const TKeyEventSequence sequence = KeyComboEvents(combo, press);
    std::string text;
    for (std::size_t i = 0; i < sequence.Count; ++i) {
        char item[16];
        std::snprintf(item, sizeof item, "%02X/%u ", sequence.Events[i].VirtualKey, sequence.Events[i].Flags);
        text += item;
    }
    return text;
}

} // namespace

TEST(KeyComboLayout, FieldsSitInTheirBytes) {
    EXPECT_EQ(Combo('C', ModCtrl).Value, 0x00430001u);
    EXPECT_EQ(Combo(VkDelete, ModCtrl | ModAlt).Value, 0x002E0003u);
    const TKeyCombo extended = Combo(VkDelete, ModCtrl | ModWin, true);
    EXPECT_EQ(extended.Value, 0x002E0109u);
    EXPECT_EQ(extended.VirtualKey(), VkDelete);
    EXPECT_TRUE(extended.Extended());
    EXPECT_EQ(extended.Modifiers(), ModCtrl | ModWin);
}

TEST(KeyComboEquality, ComparesAllBitsIncludingTheExtendedFlag) {
    EXPECT_TRUE(KeyCombosEqual(Combo('L', ModCtrl), TKeyCombo{0x004C0001}));
    EXPECT_FALSE(KeyCombosEqual(Combo(VkDelete, ModCtrl, true), Combo(VkDelete, ModCtrl, false)));
    EXPECT_FALSE(KeyCombosEqual(Combo('L', ModCtrl), Combo('L', ModCtrl | ModShift)));
}

TEST(ModifierKeys, AreCtrlAltShiftAndBothWinKeysWithTheirLeftAndRightTwins) {
    for (std::uint32_t vk : {0x11u, 0x12u, 0x10u, 0x5Bu, 0x5Cu, 0x10011u, 0xA0u, 0xA2u, 0xA5u})
        EXPECT_TRUE(IsModifierKey(vk)) << vk;
    for (std::uint32_t vk : {0x9Fu, 0xA6u, 0x41u, 0x5Du, 0u})
        EXPECT_FALSE(IsModifierKey(vk)) << vk;
}

TEST(ReservedKeyCombos, TableHoldsTheSystemCombinationsInOrder) {
    ASSERT_EQ(ReservedKeyComboCount, 22u);
    EXPECT_EQ(ReservedKeyCombos[0].Value, 0x001B0001u);
    EXPECT_EQ(ReservedKeyCombos[4].Value, 0x002E0003u);
    EXPECT_EQ(ReservedKeyCombos[11].Value, 0x00450008u);
    EXPECT_EQ(ReservedKeyCombos[21].Value, 0x00560001u);
    for (TKeyCombo combo : ReservedKeyCombos) {
        EXPECT_FALSE(combo.Extended());
        EXPECT_TRUE(IsReservedKeyCombo(combo));
    }
}

TEST(ReservedKeyCombos, NoModifierAndShiftAloneCanNeverBeHotKeys) {
    EXPECT_TRUE(IsReservedKeyCombo(Combo(VkF5, 0)));
    EXPECT_TRUE(IsReservedKeyCombo(Combo(VkF5, ModShift)));
    EXPECT_TRUE(IsReservedKeyCombo(Combo('A', ModShift, true)));
    EXPECT_FALSE(IsReservedKeyCombo(Combo(VkF5, ModCtrl | ModShift)));
    EXPECT_FALSE(IsReservedKeyCombo(Combo(VkF5, ModWin)));
}

TEST(ReservedKeyCombos, NeighboursOfReservedEntriesAreFree) {
    for (TKeyCombo combo : {Combo('C', ModCtrl), Combo('V', ModCtrl), Combo('X', ModCtrl),
                            Combo(VkTab, ModAlt), Combo(VkTab, ModShift | ModAlt), Combo(VkEscape, ModCtrl)})
        EXPECT_TRUE(IsReservedKeyCombo(combo)) << std::hex << combo.Value;
    EXPECT_FALSE(IsReservedKeyCombo(Combo('C', ModCtrl | ModAlt)));
    EXPECT_FALSE(IsReservedKeyCombo(Combo('C', ModCtrl, true)));
    EXPECT_FALSE(IsReservedKeyCombo(Combo(VkDelete, ModCtrl | ModAlt, true)));
    EXPECT_FALSE(IsReservedKeyCombo(Combo('L', ModCtrl)));
}

TEST(KeyComboText, ModifiersAlwaysReadCtrlAltShiftWin) {
    EXPECT_EQ(KeyComboToText(Combo('X', ModShift | ModCtrl), FakeKeyName), "Ctrl + Shift + X");
    EXPECT_EQ(KeyComboToText(Combo('E', ModWin | ModShift | ModAlt | ModCtrl), FakeKeyName),
              "Ctrl + Alt + Shift + Win + E");
    EXPECT_EQ(KeyComboToText(Combo('Q', 0), FakeKeyName), "Q");
    EXPECT_EQ(KeyComboToText(Combo('D', ModAlt, true), FakeKeyName), "Alt + D(ext)");
}

TEST(KeyComboEvents, PressSendsModifiersThenKey) {
    EXPECT_EQ(Events(Combo('Q', ModCtrl | ModAlt), true), "11/0 12/0 51/0 ");
    EXPECT_EQ(Events(Combo(VkDelete, ModShift, true), true), "10/0 2E/1 ");
}

TEST(KeyComboEvents, ReleaseLetsGoOfBothTwinsBeforeTheKey) {
    EXPECT_EQ(Events(Combo('Q', ModCtrl | ModAlt), false), "11/2 11/3 12/2 12/3 51/2 ");
    EXPECT_EQ(Events(Combo('E', ModWin), false), "5B/2 5C/2 45/2 ");
    EXPECT_EQ(Events(Combo(VkReturn, ModCtrl | ModAlt | ModShift | ModWin, true), false),
              "11/2 11/3 12/2 12/3 10/2 10/3 5B/2 5C/2 0D/3 ");
}

TEST(PressedKeyCombo, ReadsEachModifierAndEitherWinKey) {
    auto only = [](std::uint16_t down) { return [down](std::uint16_t vk) { return vk == down; }; };
    EXPECT_EQ(MakePressedKeyCombo('A', false, only(VkControl)).Value, 0x00410001u);
    EXPECT_EQ(MakePressedKeyCombo('A', true, only(VkShift)).Value, 0x00410104u);
    EXPECT_EQ(MakePressedKeyCombo('A', false, only(VkLWin)).Value, 0x00410008u);
    EXPECT_EQ(MakePressedKeyCombo('A', false, only(VkRWin)).Value, 0x00410008u);
    EXPECT_EQ(MakePressedKeyCombo('A', false, [](std::uint16_t) { return false; }).Value, 0x00410000u);
    EXPECT_EQ(MakePressedKeyCombo('A', false, [](std::uint16_t) { return true; }).Value, 0x0041000Fu);
}

// The record answers where it knows, and asks the system only for a modifier never seen or seen
// down more than a second ago; the system's "up" is kept.
TEST(ModifierTrack, AnswersFromWhatItSawAndAsksTheSystemOnlyWhereItCannotKnow) {
    TModifierTrack track;
    int asked = 0;
    auto system = [&asked](bool down) { return [&asked, down] { return ++asked, down; }; };
    EXPECT_FALSE(track.IsDown(VkShift, 10, system(false))); // never seen: asked, and kept as up
    EXPECT_FALSE(track.IsDown(VkShift, 20, system(true)));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(track.IsDown(VkMenu, 20, system(true))); // held since before the hook: asked each time
    EXPECT_TRUE(track.IsDown(VkMenu, 30, system(true)));
    EXPECT_EQ(asked, 3);

    track.Note(0xA3, false, false, 1000); // right Ctrl down: down while the system lags, unasked
    EXPECT_TRUE(track.IsDown(VkControl, 1010, system(false)));
    EXPECT_EQ(asked, 3);
    // A release it missed: after a second the system is asked, and its "up" holds from then on.
    EXPECT_FALSE(track.IsDown(VkControl, 1000 + TModifierTrack::StaleAfterMs, system(false)));
    EXPECT_FALSE(track.IsDown(VkControl, 5000, system(true)));
    EXPECT_EQ(asked, 4);
    track.Note(0xA2, false, false, 6000); // held longer than a second: the system says so
    EXPECT_TRUE(track.IsDown(VkControl, 8000, system(true)));
    track.Note(0xA2, false, true, 8001); // seen up: up, even while the system still says down
    EXPECT_FALSE(track.IsDown(VkControl, 8002, system(true)));
    EXPECT_EQ(asked, 5);

    track.Note(VkMenu, true, false, 2000); // right Alt as an extended VK_MENU, then as VK_RMENU up
    track.Note(0xA5, false, true, 2005);
    EXPECT_FALSE(track.IsDown(VkMenu, 2010, system(false)));
    track.Note(VkLWin, false, false, 0xFFFFFFF0u); // the tick count wraps
    EXPECT_TRUE(track.IsDown(VkLWin, 0x10, system(false)));
    track.Forget(); // after the hook was off: asked again
    EXPECT_FALSE(track.IsDown(VkLWin, 0x10, system(false)));
    EXPECT_EQ(asked, 7);
}
