// The clipboard round trip of a lookup against the real clipboard: the user's formats come back
// byte for byte, the selection is read within its limits, and another program copies on our keystroke.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "LookupSupport.h"
#include "WinHandles.h"
#include "lookup/ClipboardLib.h"

using namespace TestSupport;

namespace {

using TContents = TClipboardContents;

const UINT PrivateFormat = RegisterClipboardFormatA("Wordlark Test Format");
const std::string PrivateBytes("a\0b\0\xFF\0\0", 7);

void PutText(const std::string& bytes) {
    PutOnClipboard({{CF_TEXT, bytes}});
}

TContents SavedContents() {
    TContents contents;
    for (const TSavedClipboardFormat& entry : SavedClipboardFormats)
        contents.emplace_back(entry.Format, std::string(entry.Data.begin(), entry.Data.end()));
    return contents;
}

bool HasFormat(const TContents& contents, UINT format) {
    for (const auto& entry : contents)
        if (entry.first == format)
            return true;
    return false;
}

std::string Pattern(size_t length) {
    std::string text;
    for (size_t i = 0; i < length; ++i)
        text += static_cast<char>('a' + i % 26);
    return text;
}

} // namespace

TEST(ClipboardSaveRestore, GlobalFormatsComeBackInOrderWithTheirBytesAndTheBitmapIsLeftOut) {
    PutOnClipboard({{CF_TEXT, std::string("Hello\0", 6)}, {PrivateFormat, PrivateBytes}}, true);
    std::vector<UINT> handleFormats;
    const TContents before = ClipboardContents(&handleFormats);
    ASSERT_NE(std::find(handleFormats.begin(), handleFormats.end(), UINT(CF_BITMAP)), handleFormats.end());

    ASSERT_TRUE(SaveClipboard());
    EXPECT_EQ(SavedContents(), before);
    EXPECT_FALSE(HasFormat(SavedContents(), CF_BITMAP));

    PutText(std::string("selection\0", 10));
    RestoreClipboard();
    EXPECT_TRUE(SavedClipboardFormats.empty());

    // The restored formats are real ones now; the system may derive others from them (a bitmap from
    // the device-independent one, say), listed after them.
    handleFormats.clear();
    const TContents after = ClipboardContents(&handleFormats);
    ASSERT_GE(after.size(), before.size());
    EXPECT_EQ(TContents(after.begin(), after.begin() + before.size()), before);
    for (const auto& [format, bytes] : after)
        if (format == PrivateFormat) {
            EXPECT_EQ(bytes.substr(0, PrivateBytes.size()), PrivateBytes);
        }
}

TEST(ClipboardSaveRestore, ASecondSaveReplacesTheFirstList) {
    PutOnClipboard({{CF_TEXT, std::string("first\0", 6)}, {PrivateFormat, PrivateBytes}});
    ASSERT_TRUE(SaveClipboard());
    PutOnClipboard({{CF_TEXT, std::string("second\0", 7)}});
    const TContents second = ClipboardContents();
    ASSERT_TRUE(SaveClipboard());
    EXPECT_EQ(SavedContents(), second);
    EXPECT_FALSE(HasFormat(SavedContents(), PrivateFormat));

    PutText(std::string("other\0", 6));
    RestoreClipboard();
    std::string text;
    ASSERT_TRUE(ReadClipboardText(500, 2000, text));
    EXPECT_EQ(text, "second");
    EXPECT_FALSE(IsClipboardFormatAvailable(PrivateFormat));
}

TEST(ClipboardSaveRestore, NothingSavedFromAnEmptyClipboardAndRestoringNothingEmptiesIt) {
    PutOnClipboard({});
    EXPECT_FALSE(SaveClipboard());
    EXPECT_TRUE(SavedClipboardFormats.empty());

    PutText(std::string("copied\0", 7));
    RestoreClipboard();
    EXPECT_EQ(CountClipboardFormats(), 0);
}

TEST(ClipboardText, ReadsAtMostTheMaximumAndStopsAtTheFirstNul) {
    const std::string long5000 = Pattern(5000), exact2000 = Pattern(2000);
    const std::pair<std::string, std::string> cases[] = {
        {long5000 + '\0', long5000.substr(0, 2000)},
        {exact2000 + '\0', exact2000},
        {std::string("before\0after\0", 13), "before"},
        {std::string(1, '\0'), ""},
    };
    for (const auto& [clipboard, expected] : cases) {
        PutText(clipboard);
        std::string text = "stale";
        EXPECT_TRUE(ReadClipboardText(500, 2000, text));
        EXPECT_EQ(text, expected);
    }
}

TEST(ClipboardText, NoTextFailsAtOnceAndABusyClipboardAfterTheTimeOut) {
    PutOnClipboard({}, true);
    std::string text = "stale";
    ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(ReadClipboardText(3000, 2000, text));
    EXPECT_LT(GetTickCount64() - start, 1000u);
    EXPECT_EQ(text, "");

    PutText(std::string("held\0", 5));
    const std::string signal = TempFile("holder");
    TProcess holder("\"" + BuildFile("ClipboardHolder.exe") + "\" \"" + signal + "\" 4000");
    ASSERT_TRUE(holder.Started());
    ASSERT_TRUE(WaitUntil([&] { return !ReadLines(signal).empty(); }, 5000));
    start = GetTickCount64();
    EXPECT_FALSE(ReadClipboardText(500, 2000, text));
    const ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_GE(elapsed, 450u);
    EXPECT_LT(elapsed, 2500u);
    EXPECT_TRUE(holder.Wait(10000));
    EXPECT_TRUE(ReadClipboardText(500, 2000, text));
    EXPECT_EQ(text, "held");
    DeleteFileA(signal.c_str());
}

TEST(CopyKeystroke, MakesTheFocusedProgramCopyItsSelection) {
    const std::string log = TempFile("copy");
    TProcess target("\"" + BuildFile("KeyTarget.exe") + "\" \"" + log + "\" CopyTarget \"words to look up\"");
    ASSERT_TRUE(target.Started());
    HWND window = WaitForWindow("WordlarkKeyTarget", "CopyTarget", 10000, target.Id());
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(Activate(window));
    ASSERT_TRUE(WaitUntil([&] { return !ReadLines(log).empty(); }, 5000));
    PutOnClipboard({});

    SendCopyKeystroke();
    std::string text;
    EXPECT_TRUE(
        WaitUntil([&] { return ReadClipboardText(500, 2000, text) && text == "words to look up"; }, 5000))
        << text;
    // Ctrl and C went down and up, in that order, and nothing else.
    const std::vector<std::string> expected = {"ready",   "down 11 0", "down 43 0",
                                               "up 11 0", "up 11 1",   "up 43 0"};
    EXPECT_TRUE(WaitUntil([&] { return ReadLines(log).size() >= expected.size(); }, 5000));
    EXPECT_EQ(ReadLines(log), expected);
    target.Terminate();
    DeleteFileA(log.c_str());
}
