// An invisible 1 x 1 window that takes the foreground while a pop-up menu is shown, so that the
// menu gets the keyboard and closes when the user clicks elsewhere. It has no taskbar button.
#pragma once

#include <windows.h>

void ShowForegroundGrabber();
void HideForegroundGrabber();
// The grabber's window (created on first use, kept hidden between uses until the program ends).
HWND ForegroundGrabberWindow();

// Shows the grabber for the lifetime of a scope; hidden again on every path.
class TForegroundGrabberScope {
public:
    TForegroundGrabberScope() { ShowForegroundGrabber(); }
    TForegroundGrabberScope(const TForegroundGrabberScope&) = delete;
    TForegroundGrabberScope& operator=(const TForegroundGrabberScope&) = delete;
    ~TForegroundGrabberScope() { HideForegroundGrabber(); }
    HWND Window() const { return ForegroundGrabberWindow(); }
};
