// How errors reach the user from the program's own code: a modal box with the error icon. Window
// procedures end in ShowCaughtError, so that no exception unwinds through user32.
#pragma once

#include <windows.h>

// The program's title: the tray icon's tool tip and the caption of its error boxes.
constexpr const char* ProgramTitle = "Wordlark";

void ShowErrorBox(HWND owner, const char* text);
// Call only inside a catch block: shows the exception being handled.
void ShowCaughtError(HWND owner);
