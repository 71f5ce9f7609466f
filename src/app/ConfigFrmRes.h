// Resource ids of the configuration window, its pages and the tray menu.
#pragma once

#define IDD_CONFIGFORM 100
#define IDD_OVERVIEWPAGE 101
#define IDD_HOTKEYSPAGE 102
#define IDD_WEBLINKSPAGE 103
#define IDM_TRAYPOPUPMENU 110

// Frame. The button ids are not IDOK/IDCANCEL: OK and Cancel are not bound to Enter and Escape.
#define IDC_MAINPAGES 1001
#define IDC_GROUPBOX4 1002
#define IDC_ENABLEWORDLARKCHECKBOX 1003
#define IDC_NEWBROWSERWINDOWCHECKBOX 1004
#define IDC_OKBUTTON 1005
#define IDC_CANCELBUTTON 1006
#define IDC_APPLYBUTTON 1007
#define IDC_HELPBUTTON 1008

// Hot Keys page (its controls arrive with the page; the help contexts are assigned already).
#define IDC_QUICKLOOKUPHOTKEYEDIT 1101
#define IDC_DEFAULTWEBLINKCOMBOBOX 1102
#define IDC_MENULOOKUPHOTKEYEDIT 1103
#define IDC_EDITLOOKUPHOTKEYEDIT 1104

// Tray menu.
#define IDM_PREFERENCES 2001
#define IDM_ABOUT 2002
#define IDM_HELP 2003
#define IDM_ENABLED 2004
#define IDM_EXITWORDLARK 2005
