#include "Help.h"

#include <shellapi.h>

std::string HelpTopicPath(const std::string& programPath, int context) {
    const size_t name = programPath.find_last_of("\\/:");
    const size_t dot = programPath.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (name == std::string::npos || dot > name);
    return programPath.substr(0, hasExtension ? dot : programPath.size()) + "-" + std::to_string(context) +
           ".html";
}

std::string HelpTopicPath(int context) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return HelpTopicPath(std::string(path, length), context);
}

void ShowHelpTopic(HWND owner, int context) {
    ShellExecuteA(owner, "open", HelpTopicPath(context).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
