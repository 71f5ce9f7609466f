// Every caption of the configuration window and of the Edit-and-Lookup dialog fits its control in
// the control's font, at 96 and at 144 DPI. The controls are found by walking the windows, so
// that controls added later are covered too.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "ConfigFrmRes.h"
#include "ProgramTest.h"
#include "SimpleReg.h"
#include "TestSupport.h"

using namespace TestSupport;

namespace {

constexpr const char* Substitutes = "Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes";

// The system's DPI, and the face that stands for the dialogs' font (8-point MS Shell Dlg), for
// programs started from now on; both restored at the end.
struct TSystemFont {
    TSystemFont(DWORD dpi, const std::string& face) {
        RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi,
                        sizeof dpi);
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, Substitutes, "MS Shell Dlg", REG_SZ, face.c_str(),
                        static_cast<DWORD>(face.size() + 1));
    }
    ~TSystemFont() {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels");
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, Substitutes, "MS Shell Dlg", REG_SZ, Face.c_str(),
                        static_cast<DWORD>(Face.size() + 1));
    }
    inline static const std::string Face =
        ASimpleReg::ReadString(HKEY_LOCAL_MACHINE, Substitutes, "MS Shell Dlg");
};

// The extent of a text in a control's font, laid out within the room as the format says. A font
// is not readable from another process: the dialogs' font is 8-point MS Shell Dlg, and the one
// other font of these windows is the title's, bold 12 point.
RECT Needed(HWND control, const std::string& text, UINT format, RECT room, int dpi, const std::string& face) {
    const bool dialogFont =
        SendMessageA(control, WM_GETFONT, 0, 0) == SendMessageA(GetParent(control), WM_GETFONT, 0, 0);
    HFONT font = CreateFontA(-MulDiv(dialogFont ? 8 : 12, dpi, 72), 0, 0, 0, dialogFont ? FW_NORMAL : FW_BOLD,
                             0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face.c_str());
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    DrawTextA(dc, text.c_str(), -1, &room, DT_CALCRECT | format);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return room;
}

// Each control of the window whose caption is wider or taller than the room that it leaves for
// the text (each box, margin and edge allowed for generously), and each line of a list that is
// wider than the list and cannot be scrolled to.
std::string CutCaptions(HWND window, int dpi, const std::string& face) {
    std::string cut;
    auto visit = [&](HWND control) {
        char name[16] = "";
        GetClassNameA(control, name, sizeof name);
        const LONG style = GetWindowLongA(control, GWL_STYLE), button = style & BS_TYPEMASK;
        RECT room{};
        GetClientRect(control, &room);
        std::string text = WindowText(control);
        int beside = 0;
        UINT format = DT_WORDBREAK;
        if (!lstrcmpiA(name, "ListBox")) {
            const LRESULT scrolls =
                (style & WS_HSCROLL) ? SendMessageA(control, LB_GETHORIZONTALEXTENT, 0, 0) : 0;
            for (const std::string& line : ListLines(control))
                if (const LONG wide = Needed(control, line, DT_SINGLELINE, room, dpi, face).right;
                    wide > std::max(room.right, LONG(scrolls)))
                    cut += "line \"" + line + "\" needs " + std::to_string(wide) + "\n";
            return;
        } else if (!lstrcmpiA(name, "SysLink")) {
            for (size_t tag; (tag = text.find('<')) != std::string::npos;)
                text.erase(tag, text.find('>', tag) - tag + 1);
            format |= DT_NOPREFIX;
        } else if (!lstrcmpiA(name, "Static") && (style & SS_TYPEMASK) <= SS_RIGHT) {
            format |= (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
        } else if (!lstrcmpiA(name, "Button") && button != BS_OWNERDRAW) {
            beside = button == BS_GROUPBOX ? 12 : (button <= BS_DEFPUSHBUTTON ? 6 : 16);
            format = DT_SINGLELINE;
        } else {
            return;
        }
        room.right -= MulDiv(beside, dpi, 96);
        const RECT needed = Needed(control, text, format, room, dpi, face);
        if (!text.empty() && (needed.right > room.right || needed.bottom > room.bottom))
            cut += "\"" + text + "\" needs " + std::to_string(needed.right) + "x" +
                   std::to_string(needed.bottom) + ", has " + std::to_string(room.right) + "x" +
                   std::to_string(room.bottom) + "\n";
    };
    EnumChildWindows(
        window,
        [](HWND control, LPARAM context) {
            (*reinterpret_cast<decltype(visit)*>(context))(control);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&visit));
    return cut;
}

class CaptionFit : public TProgramTest {};

// The prefix's own face, and one whose letters are wide for their average width.
TEST_F(CaptionFit, EveryCaptionOfThePagesAndTheDialogFitsAt96And144DpiInEachFace) {
    // Sizes as the program sees them, unscaled (per-monitor aware, version 2).
    using TSetAwareness = HANDLE(WINAPI*)(HANDLE);
    reinterpret_cast<TSetAwareness>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext")))(HANDLE(-4));
    ASettings::SetDefaultLink("Web Search Powered by Seekwell");
    for (const std::string& face : {TSystemFont::Face, std::string("DejaVu Serif")}) {
        LONG widthAt96 = 0;
        for (int dpi : {96, 144}) {
            TSystemFont font(static_cast<DWORD>(dpi), face);
            TWordlark wordlark = TWordlark::Start();
            ASSERT_NE(wordlark.Window, nullptr);
            // Edit and Lookup's hot key as the hook posts it (0x401, index 2), with nothing selected.
            PostMessageA(wordlark.Window, WM_USER + 1, 2, 0);
            HWND dialog = WaitForWindow("#32770", "Wordlark Lookup", 10000);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(CutCaptions(wordlark.Window, dpi, face) + CutCaptions(dialog, dpi, face), "")
                << face << " at " << dpi << " DPI";
            RECT button{};
            GetClientRect(wordlark.Control(IDC_UNINSTALLBUTTON), &button);
            widthAt96 = widthAt96 ? widthAt96 : button.right;
            EXPECT_NEAR(button.right, MulDiv(widthAt96, dpi, 96), 8)
                << "the program did not run at " << dpi << " DPI";
            EXPECT_TRUE(wordlark.Quit());
        }
    }
}

} // namespace
