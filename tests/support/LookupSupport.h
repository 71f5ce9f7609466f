// What the lookup tests share: the clipboard filled and read whole, a stub browser registered as the
// system's web browser, and another program that holds a selection.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ProgramTest.h"
#include "TestSupport.h"

namespace TestSupport {

// Clipboard formats in enumeration order, each with the bytes of its global memory object.
using TClipboardContents = std::vector<std::pair<UINT, std::string>>;

// Replaces the clipboard with the given global-memory formats and, if asked, a bitmap.
void PutOnClipboard(const TClipboardContents& formats, bool withBitmap = false);
void PutTextOnClipboard(const std::string& bytes);
// Every global-memory format of the clipboard; formats held as other handles are listed in
// handleFormats when it is given.
TClipboardContents ClipboardContents(std::vector<UINT>* handleFormats = nullptr);
// The bytes of one format, or "(absent)".
std::string ClipboardFormatBytes(const TClipboardContents& contents, UINT format);

// StubBrowser registered as the command for http URLs, each URL it is started with logged on a line;
// the registration that was there before is put back at the end.
class TStubBrowser {
public:
    TStubBrowser();
    TStubBrowser(const TStubBrowser&) = delete;
    TStubBrowser& operator=(const TStubBrowser&) = delete;
    ~TStubBrowser();
    // The URLs of the starts so far, once `count` of them have arrived or the time is out.
    std::vector<std::string> WaitForUrls(std::size_t count, DWORD milliseconds);
    void Clear();

private:
    std::string Log;
    bool HadCommand = false;
    std::string SavedCommand;
};

// Another program in front with a text selected in its focused edit control: KeyTarget, 64-bit
// or "KeyTarget32.exe", or any program given by its command line and window class.
class TSelectionHolder {
public:
    explicit TSelectionHolder(const std::string& keyTarget = "KeyTarget.exe");
    TSelectionHolder(const std::string& commandLine, const char* windowClass);
    HWND Window() const { return Frame; }
    // KeyTarget's log of the key messages that reached it ("down 4C 0", ...).
    std::vector<std::string> Keys() const { return ReadLines(Log); }
    // Replaces the edit's text, selects all of it and brings the program to the front.
    bool Select(const std::string& text);
    bool Select(const std::wstring& text);

private:
    bool SelectAll();

    std::string Log;
    std::unique_ptr<TProcess> Process;
    HWND Frame = nullptr;
    HWND Edit = nullptr;
};

// A pop-up menu that is shown, of any process; null when none is (Wine may keep hidden ones too).
HWND VisibleMenu();

// The base of the end-to-end lookup stories: the stub browser as the system's browser, and the real
// WL.exe and another program holding a selection once a test starts them, all ended after it.
class TLookupStoryTest : public TProgramTest {
protected:
    void SetUp() override {
        TProgramTest::SetUp();
        Browser = std::make_unique<TStubBrowser>();
    }
    void TearDown() override {
        Holder.reset();
        if (App.Process)
            App.Quit();
        Browser.reset();
        ClearProgramRegistry();
    }

    std::unique_ptr<TStubBrowser> Browser;
    TWordlark App;
    std::unique_ptr<TSelectionHolder> Holder;
};

} // namespace TestSupport
