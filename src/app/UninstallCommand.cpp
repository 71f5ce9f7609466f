#include "UninstallCommand.h"

#include <algorithm>

std::string UninstallProgramPath(const std::string& command) {
    std::string path = command;
    path.erase(std::remove(path.begin(), path.end(), '"'), path.end());
    return path;
}
