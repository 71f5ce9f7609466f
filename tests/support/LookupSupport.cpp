#include "LookupSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "WinHandles.h"

namespace TestSupport {

namespace {

constexpr const char* HttpCommandKey = "HTTP\\shell\\open\\command";

bool ReadCommand(std::string& value) {
    TRegKey key;
    char data[2048];
    DWORD size = sizeof data, type = 0;
    if (!key.Open(HKEY_CLASSES_ROOT, HttpCommandKey, KEY_READ) ||
        RegQueryValueExA(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
            ERROR_SUCCESS)
        return false;
    value.assign(data, size ? size - 1 : 0);
    return true;
}

void WriteCommand(const std::string& value) {
    TRegKey key;
    if (key.Create(HKEY_CLASSES_ROOT, HttpCommandKey, KEY_SET_VALUE))
        RegSetValueExA(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
}

} // namespace

void PutOnClipboard(const TClipboardContents& formats, bool withBitmap) {
    TClipboardSession clipboard;
    ASSERT_TRUE(clipboard);
    ASSERT_TRUE(EmptyClipboard());
    for (const auto& [format, bytes] : formats) {
        TGlobalMemory memory(GMEM_MOVEABLE, bytes.size());
        {
            TGlobalLock lock(memory.Get());
            ASSERT_NE(lock.Get(), nullptr);
            std::memcpy(lock.Get(), bytes.data(), bytes.size());
        }
        ASSERT_NE(SetClipboardData(format, memory.Get()), nullptr);
        memory.Release();
    }
    if (withBitmap) {
        ASSERT_NE(SetClipboardData(CF_BITMAP, CreateBitmap(4, 4, 1, 32, nullptr)), nullptr);
    }
}

void PutTextOnClipboard(const std::string& bytes) {
    PutOnClipboard({{CF_TEXT, bytes + '\0'}});
}

TClipboardContents ClipboardContents(std::vector<UINT>* handleFormats) {
    TClipboardContents contents;
    TClipboardSession clipboard;
    if (!clipboard)
        return contents;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        HANDLE data = GetClipboardData(format);
        TGlobalLock lock(data);
        if (lock.Get())
            contents.emplace_back(format,
                                  std::string(static_cast<const char*>(lock.Get()), GlobalSize(data)));
        else if (handleFormats)
            handleFormats->push_back(format);
    }
    return contents;
}

std::string ClipboardFormatBytes(const TClipboardContents& contents, UINT format) {
    for (const auto& [entryFormat, bytes] : contents)
        if (entryFormat == format)
            return bytes;
    return "(absent)";
}

TStubBrowser::TStubBrowser() : Log(TempFile("browser")) {
    HadCommand = ReadCommand(SavedCommand);
    WriteCommand("\"" + BuildFile("StubBrowser.exe") + "\" \"" + Log + "\" \"%1\"");
}

TStubBrowser::~TStubBrowser() {
    if (HadCommand)
        WriteCommand(SavedCommand);
    else
        RegDeleteKeyA(HKEY_CLASSES_ROOT, HttpCommandKey);
    DeleteFileA(Log.c_str());
}

std::vector<std::string> TStubBrowser::WaitForUrls(std::size_t count, DWORD milliseconds) {
    // The stub writes each argument on a line and then "end".
    std::vector<std::string> urls;
    WaitUntil(
        [&] {
            urls.clear();
            for (const std::string& line : ReadLines(Log))
                if (line != "end")
                    urls.push_back(line);
            return urls.size() >= count;
        },
        milliseconds);
    return urls;
}

void TStubBrowser::Clear() {
    DeleteFileA(Log.c_str());
}

TSelectionHolder::TSelectionHolder(const std::string& keyTarget) : Log(TempFile("selection")) {
    static int count = 0;
    const std::string title = "Selection Holder " + std::to_string(++count);
    Process =
        std::make_unique<TProcess>(Quoted(BuildFile(keyTarget)) + " " + Quoted(Log) + " " + Quoted(title));
    Frame = WaitForWindow("WordlarkKeyTarget", title.c_str(), 10000, Process->Id());
    if (!Frame)
        std::fprintf(stderr, "%s: no window within 10 s; the process: %s\n", keyTarget.c_str(),
                     Process->Describe().c_str());
    // Found as its window is made: it sets its edit's text, focus and selection, and takes the
    // foreground, before it logs "ready".
    if (Frame && WaitUntil([&] { return !ReadLines(Log).empty(); }, 10000))
        Edit = FindWindowExA(Frame, nullptr, "EDIT", nullptr);
}

TSelectionHolder::TSelectionHolder(const std::string& commandLine, const char* windowClass) {
    Process = std::make_unique<TProcess>(commandLine);
    Frame = WaitForWindow(windowClass, nullptr, 10000, Process->Id());
    if (!Frame)
        std::fprintf(stderr, "%s: no window within 10 s; the process: %s\n", commandLine.c_str(),
                     Process->Describe().c_str());
    if (Frame)
        WaitUntil([&] { return (Edit = FindWindowExA(Frame, nullptr, "EDIT", nullptr)) != nullptr; }, 5000);
}

bool TSelectionHolder::Select(const std::string& text) {
    return Edit && SendMessageA(Edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) && SelectAll();
}

bool TSelectionHolder::Select(const std::wstring& text) {
    return Edit && SendMessageW(Edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) && SelectAll();
}

bool TSelectionHolder::SelectAll() {
    SendMessageA(Edit, EM_SETSEL, 0, -1);
    // Wine sometimes hands the foreground back to the window that had it when the attached input
    // is let go (the program's own foreground helper meets the same); a user would click again.
    // The keys go to the edit only once it has the focus, which the program gives it a moment after
    // its window comes to the front.
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    const DWORD threadId = GetWindowThreadProcessId(Frame, nullptr);
    for (int attempt = 0; attempt < 3; ++attempt)
        if (Activate(Frame) &&
            WaitUntil([&] { return GetGUIThreadInfo(threadId, &thread) && thread.hwndFocus == Edit; }, 2000))
            return true;
    return false;
}

HWND VisibleMenu() {
    HWND menu = nullptr;
    while ((menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) != nullptr)
        if (IsWindowVisible(menu))
            return menu;
    return nullptr;
}

} // namespace TestSupport
