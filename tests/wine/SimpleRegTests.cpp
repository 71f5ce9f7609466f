// One-call registry reads and writes against the real registry of the test prefix.
#include <gtest/gtest.h>

#include "Errors.h"
#include "SimpleReg.h"
#include "TestSupport.h"

namespace {

constexpr const char* Key = "Software\\Orvane\\WordlarkTest\\Deep\\Path";

bool KeyExists(const char* path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

class SimpleReg : public ::testing::Test {
protected:
    void SetUp() override { TestSupport::ClearProgramRegistry(); }
    void TearDown() override { TestSupport::ClearProgramRegistry(); }
};

} // namespace

TEST_F(SimpleReg, MissingKeyGivesTheDefaultAndCreatesNothing) {
    EXPECT_EQ(ASimpleReg::ReadInteger(Key, "Count", -7), -7);
    EXPECT_TRUE(ASimpleReg::ReadBool(Key, "Flag", true));
    EXPECT_EQ(ASimpleReg::ReadString(Key, "Text", "fallback"), "fallback");
    EXPECT_EQ(ASimpleReg::ReadString(Key, "Text"), "");
    EXPECT_FALSE(KeyExists("Software\\Orvane"));
}

TEST_F(SimpleReg, WritingCreatesMissingParentsAndReadsBack) {
    ASimpleReg::WriteInteger(Key, "Count", -123456);
    ASimpleReg::WriteBool(Key, "Flag", false);
    ASimpleReg::WriteString(Key, "Text", "caf\xE9 au lait");
    ASimpleReg::WriteString(Key, "", "default value");
    EXPECT_TRUE(KeyExists(Key));
    EXPECT_EQ(ASimpleReg::ReadInteger(Key, "Count", 0), -123456);
    EXPECT_FALSE(ASimpleReg::ReadBool(Key, "Flag", true));
    EXPECT_EQ(ASimpleReg::ReadString(Key, "Text", "x"), "caf\xE9 au lait");
    EXPECT_EQ(ASimpleReg::ReadString(Key, "", "x"), "default value");
    EXPECT_EQ(ASimpleReg::ReadInteger(Key, "Other", 5), 5);

    DWORD type = 0, data = 0, size = sizeof data;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, Key, "Flag", RRF_RT_ANY, &type, &data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data, 0u);
}

TEST_F(SimpleReg, StringsReadAsStoredUpToTheFirstZero) {
    const char expand[] = "%SystemRoot%\\notepad.exe";
    SetRaw("Expand", REG_EXPAND_SZ, expand, sizeof expand);
    SetRaw("NoData", REG_SZ, "", 0);
    SetRaw("Inner", REG_SZ, "ab\0cd", 6);
    SetRaw("Unterminated", REG_SZ, "xyz", 3);
    EXPECT_EQ(ASimpleReg::ReadString(Key, "Expand", "x"), expand);
    EXPECT_EQ(ASimpleReg::ReadString(Key, "NoData", "default"), "");
    EXPECT_EQ(ASimpleReg::ReadString(Key, "Inner", "x"), "ab");
    EXPECT_EQ(ASimpleReg::ReadString(Key, "Unterminated", "x"), "xyz");
}

TEST_F(SimpleReg, WrongTypeRaisesTheErrorNamingTheValue) {
    SetRaw("KeyCombo1", REG_SZ, "76", 3);
    const DWORD number = 1;
    SetRaw("Number", REG_DWORD, &number, sizeof number);
    const char binary[] = {1, 2, 3, 4};
    SetRaw("Binary", REG_BINARY, binary, sizeof binary);
    EXPECT_EQ(TestSupport::ErrorText([] { ASimpleReg::ReadInteger(Key, "KeyCombo1", 0); }),
              "Invalid data type for 'KeyCombo1'");
    EXPECT_EQ(TestSupport::ErrorText([] { ASimpleReg::ReadBool(Key, "KeyCombo1", true); }),
              "Invalid data type for 'KeyCombo1'");
    EXPECT_EQ(TestSupport::ErrorText([] { ASimpleReg::ReadString(Key, "Number"); }),
              "Invalid data type for 'Number'");
    EXPECT_EQ(TestSupport::ErrorText([] { ASimpleReg::ReadInteger(Key, "Binary", 0); }),
              "Invalid data type for 'Binary'");
}

TEST_F(SimpleReg, OtherRootKeysCanBeRead) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "WordlarkTestClass\\shell", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("cmd"), 4);
    RegCloseKey(key);
    EXPECT_EQ(ASimpleReg::ReadString(HKEY_CLASSES_ROOT, "WordlarkTestClass\\shell", ""), "cmd");
    EXPECT_EQ(ASimpleReg::ReadString(HKEY_CURRENT_USER, "WordlarkTestClass\\shell", "", "none"), "none");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "WordlarkTestClass");
}
