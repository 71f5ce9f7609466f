// The readers behind TDictionary::Open, with the files they read given: the system's, or memory
// (tests and fuzzers).
#pragma once

#include <memory>
#include <string>

#include "dict/DictFile.h"
#include "dict/Dictionary.h"

// By the file's extension: ".ifo" StarDict, ".index" dictd, ".dic" a Hunspell word list.
std::unique_ptr<TDictionary> OpenDictionary(const TDictFiles& files, const std::string& path,
                                            std::string& error);
std::unique_ptr<TDictionary> OpenStarDict(const TDictFiles& files, const std::string& path,
                                          std::string& error);
std::unique_ptr<TDictionary> OpenDictd(const TDictFiles& files, const std::string& path, std::string& error);
// A Hunspell .dic with its .aff beside it: no entries, only the stems of a word's forms. Hunspell
// reads the files itself, so they must be the system's.
std::unique_ptr<TDictionary> OpenHunspell(const TDictFiles& files, const std::string& path,
                                          std::string& error);

// A StarDict entry's data as readable text: `types` is the sametypesequence, or empty when each
// field carries its type.
std::string StarDictText(std::string_view data, const std::string& types);
