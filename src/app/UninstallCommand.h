// The uninstaller's registered command made into the path that is tested and started, and the
// choice among the registrations of a per-user and a per-machine copy. Needs no Win32.
#pragma once

#include <string>
#include <vector>

// The command without any double quote, wherever it stands; arguments stay part of the path.
std::string UninstallProgramPath(const std::string& command);

// One copy's uninstall registration as read from the registry; empty values where absent.
struct TUninstallEntry {
    std::string InstallLocation;
    std::string UninstallString;
};

// The "UninstallString" of the entry whose folder is the running program's (compared without
// regard to case or a trailing backslash); with none matching, the first entry that has one.
// The entries come in order of preference.
std::string ChooseUninstallCommand(const std::vector<TUninstallEntry>& entries,
                                   const std::string& programFolder);
