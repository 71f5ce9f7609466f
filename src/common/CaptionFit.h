// Captions made to fit their controls at run time: a layout in dialog units holds for the font it
// was drawn with, while the fonts and sizes that a system actually uses differ from it.
#pragma once

#include <windows.h>

// Widens each single-line static text, link label, check box, radio button, group box and push
// button among the dialog's own controls to what its caption needs in the control's font; a
// right-aligned text grows to the left. Nothing gets narrower, nothing moves out of the dialog.
void FitCaptions(HWND dialog);

// Lets a list box scroll sideways as far as its widest line needs (the style needs WS_HSCROLL).
void FitListExtent(HWND list);
