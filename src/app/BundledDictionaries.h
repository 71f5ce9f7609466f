// The dictionaries that come with the program: the folder "Dictionaries" beside WL.exe (the English
// dictionary that the installer and the portable download put there). At the first start, when no
// list of dictionaries is stored, not even an empty one, they become the list; a stored list is
// never changed, so a dictionary that the user removed stays removed, through updates too.
#pragma once

#include <string>
#include <vector>

#include "../lookup/DictionaryShelf.h"

// The dictionaries in the folder: full paths of its .index and .ifo files in name order; none when
// there is no folder.
std::vector<std::wstring> BundledDictionaryFiles();

// At the first start, stores the bundled dictionaries as the list and gives them; otherwise, or when
// the list cannot be stored, gives none. Only the names are looked at: the files are opened on the
// dictionaries' own thread, so that the start does not wait for them.
std::vector<std::wstring> ListBundledDictionaries();

// Told what opening the list that ListBundledDictionaries stored gave: the files that did not open
// (damaged, or no dictionary at all) leave the list, unless the user has changed it meanwhile.
// Nothing is shown and nothing raises.
void KeepOpenedDictionaries(const std::vector<std::wstring>& listed, const TDictionaryShelf::TItems& opened);
