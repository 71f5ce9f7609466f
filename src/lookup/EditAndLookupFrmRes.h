// Resource ids of the Edit-and-Lookup dialog.
#pragma once

#define IDD_EDITANDLOOKUPFORM 300
#define IDC_PROMPTLABEL 3001
#define IDC_TEXTEDIT 3002
// OK and Cancel carry the dialog manager's ids, so that Enter and Escape press them.
