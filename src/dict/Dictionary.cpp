// Opening a dictionary: the reader is chosen by the file's extension.
#include <exception>
#include <new>

#include "dict/DictReaders.h"

namespace {

bool EndsWithNoCase(const std::string& text, const char* end) {
    const std::string tail(end);
    if (text.size() < tail.size())
        return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        char c = text[text.size() - tail.size() + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
        if (c != tail[i])
            return false;
    }
    return true;
}

} // namespace

std::unique_ptr<TDictionary> OpenDictionary(const TDictFiles& files, const std::string& path,
                                            std::string& error) {
    error.clear();
    try {
        if (EndsWithNoCase(path, ".ifo"))
            return OpenStarDict(files, path, error);
        if (EndsWithNoCase(path, ".index"))
            return OpenDictd(files, path, error);
        if (EndsWithNoCase(path, ".dic"))
            return OpenHunspell(files, path, error);
        error = "It is neither a StarDict (.ifo) nor a dictd (.index) file, nor a Hunspell word list (.dic).";
    } catch (const std::bad_alloc&) {
        error = "The dictionary is too large to be opened.";
    } catch (const std::exception&) {
        error = "The dictionary cannot be read.";
    }
    return nullptr;
}

std::unique_ptr<TDictionary> TDictionary::Open(const std::string& path, std::string& error) {
    return OpenDictionary(SystemDictFiles(), path, error);
}
