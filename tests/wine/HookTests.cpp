// The keyboard hook installed for real: keys are injected while a helper process has the focus,
// and Windows runs the hook in this process, on the library's own thread.
#include <gtest/gtest.h>

#include "hook/KeyboardHook.h"
#include "Settings.h"
#include "SimpleReg.h"
#include "TestSupport.h"

using namespace TestSupport;

namespace {

// This program reads and writes the block as the program does, through its own link.
TSettingsLink SettingsLink;

struct TPosted {
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
};

// The window that receives the hook's messages, as the configuration window does in the program.
class TTargetWindow {
public:
    TTargetWindow() {
        Window = CreateTestWindow("WordlarkHookTestTarget", Proc, "Hook Test Target", WS_OVERLAPPEDWINDOW,
                                  {500, 300, 800, 500}, this);
    }
    ~TTargetWindow() { DestroyWindow(Window); }
    HWND Get() const { return Window; }

    std::vector<TPosted> Posted;
    std::vector<WPARAM> KeysDown; // WM_KEYDOWN/WM_SYSKEYDOWN that reached this window

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = WindowSelf<TTargetWindow>(window, message, lParam);
        if (self && (message == WM_HOTKEY_PRESSED || message == WM_KEYCOMBO_CAPTURED))
            self->Posted.push_back({message, wParam, lParam});
        if (self && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN))
            self->KeysDown.push_back(wParam);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    HWND Window = nullptr;
};

std::string Describe(const std::vector<TPosted>& posted) {
    std::string text;
    char item[48];
    for (const TPosted& p : posted) {
        std::snprintf(item, sizeof item, "%s%X:%X:%08X", text.empty() ? "" : " ", p.Message,
                      static_cast<unsigned>(p.WParam), static_cast<unsigned>(p.LParam));
        text += item;
    }
    return text;
}

class Hook : public ::testing::Test {
protected:
    void SetUp() override {
        ClearProgramRegistry();
        ASettings::SetEnabled(true);
        ASettings::SetConfigWindowShown(false);
        ASettings::SetKeyCombo(0, DefaultKeyCombos[0]);
        ASettings::SetKeyCombo(1, DefaultKeyCombos[1]);
        ASettings::SetKeyCombo(2, DefaultKeyCombos[2]);
        ClearProgramRegistry();
        StartKeyboardHook(Target.Get());
        ASSERT_NE(ASettings::GetHookHandle(), nullptr);
        StartHelper();
    }
    void TearDown() override {
        StopKeyboardHook();
        ASettings::SetEnabled(true);
        ASettings::SetConfigWindowShown(false);
        ClearProgramRegistry();
        Helper.reset();
        DeleteFileA(Log.c_str());
    }

    void StartHelper() {
        Log = TempFile("hook");
        Helper =
            std::make_unique<TProcess>("\"" + BuildFile("KeyTarget.exe") + "\" \"" + Log + "\" HookHelper");
        ASSERT_TRUE(Helper->Started());
        HelperWindow = WaitForWindow("WordlarkKeyTarget", "HookHelper", 10000, Helper->Id());
        ASSERT_NE(HelperWindow, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return !ReadLines(Log).empty(); }, 5000));
        ASSERT_TRUE(Activate(HelperWindow));
    }

    // Types the sentinel key F12 and waits until the helper has seen it go up: every key before it
    // has then been through the hook, and every message the hook posted is in this queue.
    std::vector<std::string> Settle() {
        TypeCombo({}, VK_F12);
        std::vector<std::string> lines;
        EXPECT_TRUE(WaitUntil(
            [&] {
                lines = ReadLines(Log);
                return !lines.empty() && lines.back() == "up 7B 0";
            },
            5000));
        PumpMessages(50);
        lines.erase(lines.begin()); // "ready"
        lines.resize(lines.size() - 2);
        return lines;
    }
    static bool Has(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    TTargetWindow Target;
    std::string Log;
    std::unique_ptr<TProcess> Helper;
    HWND HelperWindow = nullptr;
};

} // namespace

TEST_F(Hook, DefaultHotKeysArePostedWithTheirIndexAndSwallowed) {
    TypeCombo({VK_CONTROL}, 'L');
    TypeCombo({VK_CONTROL}, 'M');
    TypeCombo({VK_CONTROL}, 'Q');
    const std::vector<std::string> keys = Settle();
    EXPECT_EQ(Describe(Target.Posted), "401:0:00000000 401:1:00000000 401:2:00000000");
    EXPECT_FALSE(Has(keys, "down 4C 0"));
    EXPECT_FALSE(Has(keys, "down 4D 0"));
    EXPECT_FALSE(Has(keys, "down 51 0"));
    // The releases still reach the program, so it never sees a key stuck down.
    EXPECT_TRUE(Has(keys, "up 4C 0"));
    EXPECT_TRUE(Has(keys, "up 51 0"));
    EXPECT_TRUE(Has(keys, "up 11 0"));
    EXPECT_TRUE(Has(keys, "down 11 0"));
}

TEST_F(Hook, AHeldHotKeyPostsOncePerKeyDownIncludingRepeats) {
    KeyDown(VK_CONTROL);
    KeyDown('M');
    KeyDown('M');
    KeyDown('M');
    KeyUp('M');
    KeyUp(VK_CONTROL);
    const std::vector<std::string> keys = Settle();
    EXPECT_EQ(Describe(Target.Posted), "401:1:00000000 401:1:00000000 401:1:00000000");
    EXPECT_FALSE(Has(keys, "down 4D 0"));
    EXPECT_TRUE(Has(keys, "up 4D 0"));
}

TEST_F(Hook, PlainKeysShiftKeysAndReservedCombinationsPassUnposted) {
    ASettings::SetKeyCombo(0, TKeyCombo{0x00430001}); // Ctrl + C held as a hot key
    TypeCombo({}, 'L');
    TypeCombo({VK_SHIFT}, 'L');
    TypeCombo({VK_CONTROL}, 'C');
    TypeCombo({VK_MENU}, VK_TAB);
    const std::vector<std::string> keys = Settle();
    EXPECT_EQ(Describe(Target.Posted), "");
    EXPECT_TRUE(Has(keys, "down 4C 0"));
    EXPECT_TRUE(Has(keys, "down 43 0"));
}

TEST_F(Hook, TwoHotKeysWithOneCombinationPostTheLowerIndex) {
    ASettings::SetKeyCombo(2, TKeyCombo{0x004D0001});
    TypeCombo({VK_CONTROL}, 'M');
    Settle();
    EXPECT_EQ(Describe(Target.Posted), "401:1:00000000");
}

TEST_F(Hook, DisabledHotKeysPassThrough) {
    ASettings::SetEnabled(false);
    TypeCombo({VK_CONTROL}, 'L');
    const std::vector<std::string> keys = Settle();
    EXPECT_EQ(Describe(Target.Posted), "");
    EXPECT_TRUE(Has(keys, "down 4C 0"));
}

TEST_F(Hook, TheNavigationDeleteDoesNotFireForTheKeypadDelete) {
    ASettings::SetKeyCombo(0, TKeyCombo::Make(VK_DELETE, true, ModCtrl | ModAlt));
    TypeCombo({VK_CONTROL, VK_MENU}, VK_DELETE, false);
    Settle();
    EXPECT_EQ(Describe(Target.Posted), "");
    TypeCombo({VK_CONTROL, VK_MENU}, VK_DELETE, true);
    const std::vector<std::string> keys = Settle();
    EXPECT_EQ(Describe(Target.Posted), "401:0:00000000");
    EXPECT_FALSE(Has(keys, "down 2E 1"));
}

TEST_F(Hook, WhileTheShownWindowIsInFrontCombinationsAreCapturedNotFired) {
    ASettings::SetConfigWindowShown(true);
    ShowWindow(Target.Get(), SW_SHOW);
    ASSERT_TRUE(Activate(Target.Get()));
    TypeCombo({VK_CONTROL, VK_MENU}, 'X');
    TypeCombo({VK_CONTROL}, 'L');
    TypeCombo({VK_SHIFT}, 'A');
    TypeCombo({VK_CONTROL}, 'V');
    TypeCombo({}, VK_F12);
    ASSERT_TRUE(
        WaitUntil([&] { return !Target.KeysDown.empty() && Target.KeysDown.back() == VK_F12; }, 5000));
    PumpMessages(50);
    EXPECT_EQ(Describe(Target.Posted), "402:0:00580003 402:0:004C0001");
    // Captured keys are not swallowed: they reach the focused window.
    EXPECT_NE(std::find(Target.KeysDown.begin(), Target.KeysDown.end(), 'L'), Target.KeysDown.end());
    EXPECT_NE(std::find(Target.KeysDown.begin(), Target.KeysDown.end(), 'X'), Target.KeysDown.end());
    ShowWindow(Target.Get(), SW_HIDE);
}

TEST_F(Hook, WhileTheShownWindowIsBehindHotKeysWork) {
    ASettings::SetConfigWindowShown(true);
    ShowWindow(Target.Get(), SW_SHOWNOACTIVATE);
    ASSERT_TRUE(Activate(HelperWindow));
    TypeCombo({VK_CONTROL}, 'Q');
    Settle();
    EXPECT_EQ(Describe(Target.Posted), "401:2:00000000");
    ShowWindow(Target.Get(), SW_HIDE);
}

// Makes the next key press load the hot keys again, on the hook's thread.
void ForgetHotKeys() {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, SharedSettingsName);
    ASSERT_NE(mapping, nullptr);
    auto* block = static_cast<TSharedSettings*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 24));
    block->KeyCombosLoaded = 0;
    UnmapViewOfFile(block);
    CloseHandle(mapping);
}

TEST_F(Hook, HotKeysInTheRegistryReplaceTheDefaultsAtTheFirstLoad) {
    ASimpleReg::WriteInteger(KeyCombosKey, "KeyCombo0", 0x004C0003); // Ctrl + Alt + L
    ForgetHotKeys();
    TypeCombo({VK_CONTROL}, 'L');
    TypeCombo({VK_CONTROL, VK_MENU}, 'L');
    const std::vector<std::string> keys = Settle();
    EXPECT_EQ(Describe(Target.Posted), "401:0:00000000");
    EXPECT_TRUE(Has(keys, "down 4C 0")); // plain Ctrl + L is no hot key any more
    EXPECT_EQ(ASettings::GetKeyCombo(0).Value, 0x004C0003u);
}

TEST_F(Hook, AWrongTypeInTheRegistryNeitherCrashesTheProgramNorSwallowsOtherKeys) {
    ASimpleReg::WriteString(KeyCombosKey, "KeyCombo1", "Ctrl+M");
    ForgetHotKeys(); // the next key press loads the hot keys on the hook's thread

    TypeCombo({VK_CONTROL}, 'A'); // the load fails; this key passes on
    TypeCombo({VK_CONTROL}, 'B');
    TypeCombo({VK_CONTROL}, 'M'); // the unreadable hot key falls back to its default
    const std::vector<std::string> keys = Settle();
    EXPECT_TRUE(Has(keys, "down 41 0"));
    EXPECT_TRUE(Has(keys, "down 42 0"));
    EXPECT_EQ(Describe(Target.Posted), "401:1:00000000");
    EXPECT_FALSE(Helper->Wait(0)) << "the helper process ended";
}

TEST_F(Hook, StopRemovesTheHookInTheBlockAndReportsSuccess) {
    EXPECT_NE(StopKeyboardHook(), FALSE);
    EXPECT_EQ(StopKeyboardHook(), FALSE); // already gone
    TypeCombo({VK_CONTROL}, 'L');
    const std::vector<std::string> keys = Settle();
    EXPECT_EQ(Describe(Target.Posted), "");
    EXPECT_TRUE(Has(keys, "down 4C 0"));
    EXPECT_EQ(ASettings::GetTargetWindow(), Target.Get()); // stays in the block
}

// Direct calls, with Ctrl held down for the whole desktop.
class HookProcedure : public ::testing::Test {
protected:
    void SetUp() override {
        ASettings::SetEnabled(true);
        ASettings::SetConfigWindowShown(false);
        ASettings::SetKeyCombo(0, DefaultKeyCombos[0]);
        ASettings::SetTargetWindow(Target.Get());
        KeyDown(VK_CONTROL);
        ASSERT_TRUE(WaitUntil([] { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }, 3000));
    }
    void TearDown() override {
        KeyUp(VK_CONTROL);
        ClearProgramRegistry();
    }
    static LRESULT Call(int code, DWORD virtualKey, DWORD flags) {
        KBDLLHOOKSTRUCT event{virtualKey, 0x26, flags, 0, 0};
        return KeyboardHandler(code, virtualKey, reinterpret_cast<LPARAM>(&event));
    }
    TTargetWindow Target;
};

TEST_F(HookProcedure, OnlyKeyDownActionsAreExaminedAndEitherCtrlKeyIsAModifier) {
    EXPECT_EQ(Call(HC_ACTION, 'L', 0), 1);
    EXPECT_EQ(Call(HC_ACTION, 'L', LLKHF_INJECTED), 1); // another program's injected key counts
    EXPECT_EQ(Call(HC_ACTION, 'L', LLKHF_UP), 0);
    EXPECT_EQ(Call(HC_ACTION, 'L', LLKHF_EXTENDED), 0); // another key than the hot key's
    EXPECT_EQ(Call(HC_ACTION, VK_LCONTROL, 0), 0);
    EXPECT_EQ(Call(HC_ACTION, VK_RCONTROL, LLKHF_EXTENDED), 0);
    EXPECT_EQ(KeyboardHandler(-1, 'L', 0), 0); // not looked at: no event to read
    PumpMessages(20);
    EXPECT_EQ(Describe(Target.Posted), "401:0:00000000 401:0:00000000");
}

// The library carries no runtime of its own (no TLS directory, whose callbacks would run on every
// thread of the program) and imports nothing but system DLLs; its exports keep their names and
// ordinals.
TEST(HookLibraryImage, HasNoTlsDirectoryImportsOnlySystemDllsAndKeepsItsExports) {
    const auto* base = reinterpret_cast<const BYTE*>(GetModuleHandleA("Tarnwick2.dll"));
    ASSERT_NE(base, nullptr);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY* directories = nt->OptionalHeader.DataDirectory;
    EXPECT_EQ(directories[IMAGE_DIRECTORY_ENTRY_TLS].VirtualAddress, 0u);
    EXPECT_EQ(directories[IMAGE_DIRECTORY_ENTRY_TLS].Size, 0u);

    std::vector<std::string> imports;
    const auto* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
        base + directories[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; import->Name != 0; ++import) {
        std::string name = reinterpret_cast<const char*>(base + import->Name);
        CharUpperBuffA(name.data(), static_cast<DWORD>(name.size()));
        imports.push_back(name);
    }
    std::sort(imports.begin(), imports.end());
    EXPECT_EQ(imports, (std::vector<std::string>{"ADVAPI32.DLL", "KERNEL32.DLL", "USER32.DLL"}));

    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(
        base + directories[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress);
    const auto* functions = reinterpret_cast<const DWORD*>(base + exports->AddressOfFunctions);
    EXPECT_EQ(exports->Base, 1u);
    ASSERT_EQ(exports->NumberOfFunctions, 3u);
    EXPECT_EQ(base + functions[0], reinterpret_cast<const BYTE*>(&KeyboardHandler));
    EXPECT_EQ(base + functions[1], reinterpret_cast<const BYTE*>(&StartKeyboardHook));
    EXPECT_EQ(base + functions[2], reinterpret_cast<const BYTE*>(&StopKeyboardHook));
}
