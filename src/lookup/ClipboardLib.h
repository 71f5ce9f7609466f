// Capturing the user's selection in another program without losing what the user had on the
// clipboard: save every format, make the focused program copy, read the text, put the formats back.
// Main (GUI) thread only: the saved list is one unguarded object per process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "KeyCombos.h"

struct TSavedClipboardFormat {
    std::vector<unsigned char> Data; // the memory object's bytes, never interpreted
    UINT Format = 0;
};

// In the order in which the clipboard enumerated them; filled by SaveClipboard, emptied by the
// next SaveClipboard and by RestoreClipboard.
extern std::vector<TSavedClipboardFormat> SavedClipboardFormats;

constexpr TKeyCombo CopyKeyCombo = TKeyCombo::Make('C', false, ModCtrl);

// True when at least one format was saved.
bool SaveClipboard();
// One format of the open clipboard; false when its data is missing or not global memory.
bool SaveClipboardFormat(UINT format);
void RestoreClipboard();
// The copy keystroke for the window in front, in one piece of input; `releaseFirst`, when given,
// lets go of that combination's keys first (the hot key still held), in the same piece.
void SendCopyKeystroke();
void SendCopyKeystroke(TKeyCombo releaseFirst);
// The clipboard's text in UTF-8, read as CF_UNICODETEXT and cut at maxLength UTF-16 code units
// (a character is never split) and at its first NUL; retried until timeoutMs have passed while the
// clipboard is busy. False at once when there is no text.
bool ReadClipboardText(int timeoutMs, int maxLength, std::string& text);
