// WordNet 3.0's exception lists as the build joins them into WL.exe's resource, read from the
// folder the build was configured with (WL_WORDNET_DIR, a path without quotes, made a string here
// since the fuzzers' build line cannot carry quotes). Portable.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#define WL_TEXT_OF(path) #path
#define WL_PATH_TEXT(path) WL_TEXT_OF(path)

inline std::string WordNetExceptionLists() {
    std::ostringstream text;
    for (const char* list : {"adj", "adv", "noun", "verb"})
        text << std::ifstream(std::string(WL_PATH_TEXT(WL_WORDNET_DIR)) + "/" + list + ".exc").rdbuf();
    return text.str();
}
