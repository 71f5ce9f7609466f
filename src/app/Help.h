// Help: one HTML page per topic beside the program, named after it ("WL-135.html" beside WL.exe),
// opened with the shell's viewer for the file.
#pragma once

#include <windows.h>

#include <string>

enum THelpContext : int {
    TrayHelpContext = 110,
    QuickLookupHelpContext = 120,
    MenuLookupHelpContext = 125,
    EditLookupHelpContext = 130,
    ConfigWindowHelpContext = 135,
    ProgramsHelpContext = 140,
    DictionariesHelpContext = 145,
};

// The topic's file for a program at programPath: the path without its extension, "-", the number, ".html".
std::string HelpTopicPath(const std::string& programPath, int context);
// The running program's topic file.
std::string HelpTopicPath(int context);
// Opens the topic; a missing file is reported by the shell, not here.
void ShowHelpTopic(HWND owner, int context);
