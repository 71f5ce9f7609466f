// Resource ids of the answer window.
#pragma once

#define IDD_ANSWERFORM 310
#define IDC_ANSWERTEXT 3101
#define IDC_WEBLOOKUPBUTTON 3102
#define IDC_MORELINKSBUTTON 3103
#define IDC_KEEPOPEN 3104
