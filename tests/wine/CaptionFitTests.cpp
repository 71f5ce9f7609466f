// Every caption of the configuration window and of the Edit-and-Lookup dialog fits its control in
// the control's font, at 96 and 144 DPI, in the prefix's face for the dialogs' font and in one whose
// letters are wide for their average width, and so does each heading of a list view. The controls
// are found by walking the windows, so that controls added later are covered too.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "ConfigFrmRes.h"
#include "ProgramTest.h"
#include "SimpleReg.h"

using namespace TestSupport;

namespace {

constexpr const char* Substitutes = "Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes";
const std::string PrefixFace = ASimpleReg::ReadString(HKEY_LOCAL_MACHINE, Substitutes, "MS Shell Dlg");

// For programs started from now on.
void SetSystemFont(DWORD dpi, const std::string& face) {
    RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi, sizeof dpi);
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, Substitutes, "MS Shell Dlg", REG_SZ, face.c_str(),
                    static_cast<DWORD>(face.size() + 1));
}

// The extent of a text laid out within the room. A font is not readable from another process: the
// dialogs' font is 8-point MS Shell Dlg, and the one other font of these windows the title's, bold
// 12 point.
RECT Needed(HWND control, const std::string& text, UINT format, RECT room, int dpi, const std::string& face) {
    const bool title =
        SendMessageA(control, WM_GETFONT, 0, 0) != SendMessageA(GetParent(control), WM_GETFONT, 0, 0);
    HFONT font = CreateFontA(-MulDiv(title ? 12 : 8, dpi, 72), 0, 0, 0, title ? FW_BOLD : FW_NORMAL, 0, 0, 0,
                             DEFAULT_CHARSET, 0, 0, 0, 0, face.c_str());
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    DrawTextA(dc, text.c_str(), -1, &room, DT_CALCRECT | format);
    DeleteObject(SelectObject(dc, old));
    ReleaseDC(nullptr, dc);
    return room;
}

// Each caption among the window's descendants that is wider or taller than the room its control
// leaves for the text (boxes and edges allowed for generously), and each line of a list that is
// wider than the list and cannot be scrolled to.
std::string CutCaptions(HWND window, int dpi, const std::string& face) {
    std::string cut;
    for (HWND control = nullptr; (control = FindWindowExA(window, control, nullptr, nullptr)) != nullptr;) {
        cut += CutCaptions(control, dpi, face);
        char name[16] = "";
        GetClassNameA(control, name, sizeof name);
        const LONG style = GetWindowLongA(control, GWL_STYLE), type = style & BS_TYPEMASK;
        const bool link = !lstrcmpiA(name, "SysLink"), button = !lstrcmpiA(name, "Button");
        RECT room{};
        GetClientRect(control, &room);
        std::string text = WindowText(control);
        for (size_t tag; link && (tag = text.find('<')) != std::string::npos;)
            text.erase(tag, text.find('>', tag) - tag + 1);
        const LONG scrolls =
            (style & WS_HSCROLL) ? LONG(SendMessageA(control, LB_GETHORIZONTALEXTENT, 0, 0)) : 0;
        if (!lstrcmpiA(name, "ListBox"))
            for (const std::string& line : ListLines(control))
                if (Needed(control, line, DT_SINGLELINE, room, dpi, face).right >
                    std::max(room.right, scrolls))
                    cut += "line " + line + "\n";
        // A list view's headings, each within its column (the heading's margins allowed for).
        if (!lstrcmpiA(name, "SysListView32"))
            for (const auto& [heading, width] : ListViewColumns(control))
                if (Needed(control, heading, DT_SINGLELINE, room, dpi, face).right + MulDiv(12, dpi, 96) >
                    width)
                    cut += "heading " + heading + "\n";
        if (text.empty() ||
            !(link || button || (!lstrcmpiA(name, "Static") && (style & SS_TYPEMASK) <= SS_RIGHT)))
            continue;
        const int edges = button ? (type == BS_GROUPBOX ? 12 : type <= BS_DEFPUSHBUTTON ? 6 : 16) : 0;
        room.right -= MulDiv(edges, dpi, 96);
        const UINT format =
            button ? DT_SINGLELINE : DT_WORDBREAK | (link || (style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
        if (const RECT needed = Needed(control, text, format, room, dpi, face);
            needed.right > room.right || needed.bottom > room.bottom)
            cut += text + "\n";
    }
    return cut;
}

class CaptionFit : public TProgramTest {
protected:
    void TearDown() override { SetSystemFont(96, PrefixFace); }
};

TEST_F(CaptionFit, EveryCaptionOfThePagesAndTheDialogFitsAt96And144DpiInEitherFace) {
    // Sizes as the program sees them, unscaled (per-monitor aware, version 2).
    reinterpret_cast<HANDLE(WINAPI*)(HANDLE)>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext")))(HANDLE(-4));
    ASettings::SetDefaultLink("Web Search Powered by Seekwell");
    ASettings::SetLinkCount(1);
    ASettings::WriteLink(
        0, {"A dictionary of the trade's words, with examples", "http://example.com/?q=", "", false});
    ASettings::SetPrograms({L"The accounting program of the whole firm, with every module.exe"});
    for (const std::string& face : {PrefixFace, std::string("DejaVu Serif")}) {
        RECT button{};
        for (int dpi : {96, 144}) {
            SetSystemFont(static_cast<DWORD>(dpi), face);
            TWordlark wordlark = TWordlark::Start();
            ASSERT_TRUE(wordlark.ShowWindow()); // which fills the pages
            // Edit and Lookup's hot key as the hook posts it (0x401, index 2), with nothing selected.
            PostMessageA(wordlark.Window, WM_USER + 1, 2, 0);
            HWND dialog = WaitForWindow("#32770", "Wordlark Lookup", 10000);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(CutCaptions(wordlark.Window, dpi, face) + CutCaptions(dialog, dpi, face), "")
                << face << " at " << dpi << " DPI";
            const LONG widthAt96 = button.right;
            GetClientRect(wordlark.Control(IDC_UNINSTALLBUTTON), &button);
            EXPECT_GT(button.right * 3, widthAt96 * 4) << "the program did not run at 144 DPI";
            EXPECT_TRUE(wordlark.Quit());
        }
    }
}

} // namespace
