// The named shared block: creation, sharing between processes, the lazy load of the hot keys.
// This program must be the block's first user, so it does not load the hook library.
#include <gtest/gtest.h>

#include <cstring>

#include "Errors.h"
#include "Settings.h"
#include "SimpleReg.h"
#include "TestSupport.h"

using namespace TestSupport;

namespace {

// A view of the block of its own, to see the raw bytes that other processes see.
class TRawBlock {
public:
    TRawBlock() {
        Mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, SharedSettingsName);
        if (Mapping)
            Block = static_cast<TSharedSettings*>(MapViewOfFile(Mapping, FILE_MAP_ALL_ACCESS, 0, 0, 24));
    }
    ~TRawBlock() {
        if (Block)
            UnmapViewOfFile(Block);
        if (Mapping)
            CloseHandle(Mapping);
    }
    TSharedSettings* operator->() const { return Block; }
    std::string Hex() const {
        std::string text;
        char byte[3];
        for (int i = 0; i < 24; ++i) {
            std::snprintf(byte, sizeof byte, "%02X", reinterpret_cast<const unsigned char*>(Block)[i]);
            text += byte;
        }
        return text;
    }

private:
    HANDLE Mapping = nullptr;
    TSharedSettings* Block = nullptr;
};

bool RegistryHasValue(const char* name) {
    DWORD size = 0;
    return RegGetValueA(HKEY_CURRENT_USER, KeyCombosKey, name, RRF_RT_ANY, nullptr, nullptr, &size) ==
           ERROR_SUCCESS;
}

class SharedBlock : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        HANDLE existing = OpenFileMappingA(FILE_MAP_READ, FALSE, SharedSettingsName);
        BlockWasFresh = existing == nullptr;
        if (existing)
            CloseHandle(existing);
        Link = new TSettingsLink;
    }
    static void TearDownTestSuite() { delete Link; }
    void SetUp() override { ClearProgramRegistry(); }
    void TearDown() override { ClearProgramRegistry(); }

    // Makes the next GetKeyCombo load the hot keys again, as in a newly created block.
    static void ForgetHotKeys() { TRawBlock()->KeyCombosLoaded = 0; }

    static inline TSettingsLink* Link = nullptr;
    static inline bool BlockWasFresh = false;
};

} // namespace

TEST_F(SharedBlock, ANewBlockIsZeroedAndReadsEnabledAndHidden) {
    if (!BlockWasFresh)
        GTEST_SKIP() << "another process of this Wine session holds the block already";
    EXPECT_EQ(TRawBlock().Hex(), std::string(48, '0'));
    EXPECT_TRUE(ASettings::GetEnabled());
    EXPECT_FALSE(ASettings::GetConfigWindowShown());
    EXPECT_EQ(ASettings::GetTargetWindow(), nullptr);
    EXPECT_EQ(ASettings::GetHookHandle(), nullptr);
}

TEST_F(SharedBlock, FlagsLiveInTheirBytes) {
    ASettings::SetEnabled(false);
    ASettings::SetConfigWindowShown(true);
    EXPECT_EQ(TRawBlock()->Disabled, 1);
    EXPECT_EQ(TRawBlock()->ConfigWindowShown, 1);
    EXPECT_FALSE(ASettings::GetEnabled());
    ASettings::SetEnabled(true);
    ASettings::SetConfigWindowShown(false);
    EXPECT_EQ(TRawBlock()->Disabled, 0);
    EXPECT_EQ(TRawBlock()->ConfigWindowShown, 0);
}

TEST_F(SharedBlock, ALinkInAnotherProcessKeepsEveryField) {
    ASettings::SetEnabled(false);
    ASettings::SetConfigWindowShown(true);
    ASettings::SetTargetWindow(reinterpret_cast<HWND>(static_cast<intptr_t>(0x0001A2B4)));
    ASettings::SetHookHandle(reinterpret_cast<HHOOK>(static_cast<intptr_t>(-0x1234)));
    ASettings::SetKeyCombo(2, TKeyCombo{0x00510003});
    const std::string before = TRawBlock().Hex();

    const std::string out = TempFile("block");
    TProcess probe("\"" + BuildFile("BlockProbe.exe") + "\" \"" + out + "\"");
    ASSERT_TRUE(probe.Wait(10000));
    EXPECT_EQ(probe.ExitCode(), 0u);
    EXPECT_EQ(ReadFile(out), before);
    EXPECT_EQ(TRawBlock().Hex(), before);
    EXPECT_EQ(ASettings::GetHookHandle(), reinterpret_cast<HHOOK>(static_cast<intptr_t>(-0x1234)));
    DeleteFileA(out.c_str());
    ASettings::SetEnabled(true);
    ASettings::SetConfigWindowShown(false);
}

TEST_F(SharedBlock, FirstReadLoadsDefaultsWithoutWritingTheRegistry) {
    ForgetHotKeys();
    EXPECT_EQ(ASettings::GetKeyCombo(0).Value, 0x004C0001u);
    EXPECT_EQ(ASettings::GetKeyCombo(1).Value, 0x004D0001u);
    EXPECT_EQ(ASettings::GetKeyCombo(2).Value, 0x00510001u);
    EXPECT_EQ(TRawBlock()->KeyCombosLoaded, 1);
    EXPECT_EQ(TRawBlock()->HotKeys[1], 0x004D0001u);
    EXPECT_FALSE(RegistryHasValue("KeyCombo0"));
}

TEST_F(SharedBlock, RegistryValuesReplaceDefaultsAtTheFirstReadOnly) {
    ASimpleReg::WriteInteger(KeyCombosKey, "KeyCombo1", 0x004D0003);
    ForgetHotKeys();
    EXPECT_EQ(ASettings::GetKeyCombo(1).Value, 0x004D0003u);
    EXPECT_EQ(ASettings::GetKeyCombo(0).Value, 0x004C0001u);
    // Later registry changes are not seen: the block is the live copy.
    ASimpleReg::WriteInteger(KeyCombosKey, "KeyCombo1", 0x00410001);
    EXPECT_EQ(ASettings::GetKeyCombo(1).Value, 0x004D0003u);
}

TEST_F(SharedBlock, SetKeyComboWritesBlockAndRegistryAtOnce) {
    ForgetHotKeys();
    ASettings::GetKeyCombo(0);
    ASettings::SetKeyCombo(1, TKeyCombo{0x004D0003});
    EXPECT_EQ(TRawBlock()->HotKeys[1], 0x004D0003u);
    EXPECT_EQ(ASimpleReg::ReadInteger(KeyCombosKey, "KeyCombo1", 0), 0x004D0003);
    EXPECT_EQ(ASettings::GetKeyCombo(1).Value, 0x004D0003u);
}

TEST_F(SharedBlock, IndexesOutsideTheHotKeysRaiseAssertions) {
    EXPECT_EQ(ErrorText([] { ASettings::GetKeyCombo(3); }), "Assertion failure (Settings, line 206)");
    EXPECT_EQ(ErrorText([] { ASettings::GetKeyCombo(-1); }), "Assertion failure (Settings, line 206)");
    EXPECT_EQ(ErrorText([] { ASettings::SetKeyCombo(-1, TKeyCombo{0x00410001}); }),
              "Assertion failure (Settings, line 227)");
    EXPECT_EQ(ErrorText([] { ASettings::SetKeyCombo(3, TKeyCombo{0x00410001}); }),
              "Assertion failure (Settings, line 227)");
    EXPECT_FALSE(RegistryHasValue("KeyCombo3"));
}

TEST_F(SharedBlock, AnUnreadableHotKeyRaisesOnceAndFallsBackToItsDefault) {
    ASimpleReg::WriteInteger(KeyCombosKey, "KeyCombo0", 0x00410003);
    ASimpleReg::WriteString(KeyCombosKey, "KeyCombo1", "76");
    ASimpleReg::WriteInteger(KeyCombosKey, "KeyCombo2", 0x00420003);
    ForgetHotKeys();
    EXPECT_EQ(ErrorText([] { ASettings::GetKeyCombo(0); }), "Invalid data type for 'KeyCombo1'");
    EXPECT_EQ(ASettings::GetKeyCombo(0).Value, 0x00410003u);
    EXPECT_EQ(ASettings::GetKeyCombo(1).Value, 0x004D0001u);
    EXPECT_EQ(ASettings::GetKeyCombo(2).Value, 0x00420003u);
}
