// The uninstaller's registered command made into the path that is tested and started. Needs no Win32.
#pragma once

#include <string>

// The command without any double quote, wherever it stands; arguments stay part of the path.
std::string UninstallProgramPath(const std::string& command);
