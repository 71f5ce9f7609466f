// The windows in which Ctrl + C is an interrupt rather than a copy: consoles and terminals. There
// it ends the program running inside, so the copy keystroke sent to them is Ctrl + Insert, which
// copies a selection and never interrupts. Needs no Win32.
#pragma once

#include <string>

#include "KeyCombos.h"

constexpr std::uint16_t VkInsert = 0x2D;
constexpr TKeyCombo ConsoleCopyKeyCombo = TKeyCombo::Make(VkInsert, true, ModCtrl);

// True for the window class of a console or terminal window (compared as registered).
bool IsConsoleWindowClass(const std::string& className);
