#include "ForegroundGrabberFrm.h"

#include "WinApiHacks.h"

namespace {

constexpr const char* GrabberClass = "TForegroundGrabberForm";
HWND Grabber = nullptr;

} // namespace

HWND ForegroundGrabberWindow() {
    if (Grabber)
        return Grabber;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = GrabberClass;
    RegisterClassA(&windowClass);
    // A tool window has no taskbar button; layered with alpha 0 it is invisible although "shown".
    Grabber = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_TOPMOST, GrabberClass, "", WS_POPUP, 0,
                              0, 1, 1, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (Grabber)
        SetLayeredWindowAttributes(Grabber, 0, 0, LWA_ALPHA);
    return Grabber;
}

void ShowForegroundGrabber() {
    HWND grabber = ForegroundGrabberWindow();
    ShowWindow(grabber, SW_SHOW);
    SetWindowPos(grabber, HWND_TOPMOST, 0, 0, 1, 1, SWP_NOACTIVATE);
    ForceForegroundWindow(grabber);
}

void HideForegroundGrabber() {
    if (Grabber)
        ShowWindow(Grabber, SW_HIDE);
}
