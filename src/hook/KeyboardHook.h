// The exports of Tarnwick2.dll, the system-wide keyboard hook.
#pragma once

#include <windows.h>

#ifdef TARNWICK2_BUILD
#define TARNWICK2_API extern "C" __declspec(dllexport)
#else
#define TARNWICK2_API extern "C" __declspec(dllimport)
#endif

// Posted to the target window: a hot key was pressed (wParam = hot-key index, swallowed), or a
// combination was pressed while the configuration window is in front (lParam = combination).
constexpr UINT WM_HOTKEY_PRESSED = WM_USER + 1;
constexpr UINT WM_KEYCOMBO_CAPTURED = WM_USER + 2;

TARNWICK2_API LRESULT CALLBACK KeyboardHandler(int code, WPARAM wParam, LPARAM lParam);
TARNWICK2_API void WINAPI StartKeyboardHook(HWND window);
TARNWICK2_API BOOL WINAPI StopKeyboardHook();
