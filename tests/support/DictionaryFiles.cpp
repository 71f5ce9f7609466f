#include "DictionaryFiles.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <fstream>

#include "UnicodeText.h"

namespace TestSupport {

namespace {

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(Utf16FromUtf8(path).c_str(), std::ios::binary) << bytes;
}

// dictd's numbers: base 64, most significant digit first.
std::string Base64Number(std::size_t value) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    do {
        text.insert(text.begin(), digits[value % 64]);
        value /= 64;
    } while (value);
    return text;
}

// dictd's default order: letters, digits and spaces only, without case.
std::string DictdKey(const std::string& word) {
    std::string key;
    for (unsigned char c : word)
        if (std::isalnum(c) || c == ' ')
            key += static_cast<char>(std::tolower(c));
    return key;
}

std::string BigEndian32(std::size_t value) {
    std::string bytes(4, '\0');
    for (int i = 3; i >= 0; --i, value >>= 8)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(value & 0xFF);
    return bytes;
}

// StarDict's order: ASCII letters without case, then bytes.
bool StarDictBefore(const std::string& a, const std::string& b) {
    const auto lower = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return s;
    };
    const std::string la = lower(a), lb = lower(b);
    return la != lb ? la < lb : a < b;
}

std::string Stem(const std::string& path) {
    return path.substr(0, path.find_last_of('.'));
}

} // namespace

std::string WriteDictdDictionary(const std::string& stem, const std::string& name,
                                 std::vector<TTestEntry> entries) {
    entries.push_back({"00-database-short", "00-database-short\n     " + name + "\n"});
    std::stable_sort(entries.begin(), entries.end(), [](const TTestEntry& a, const TTestEntry& b) {
        return DictdKey(a.Headword) < DictdKey(b.Headword);
    });
    std::string index, data;
    for (const TTestEntry& entry : entries) {
        index += entry.Headword + "\t" + Base64Number(data.size()) + "\t" +
                 Base64Number(entry.Definition.size()) + "\n";
        data += entry.Definition;
    }
    WriteBytes(stem + ".dict", data);
    WriteBytes(stem + ".index", index);
    return stem + ".index";
}

std::string WriteStarDictDictionary(const std::string& stem, const std::string& name,
                                    std::vector<TTestEntry> entries) {
    std::stable_sort(entries.begin(), entries.end(), [](const TTestEntry& a, const TTestEntry& b) {
        return StarDictBefore(a.Headword, b.Headword);
    });
    std::string index, data;
    for (const TTestEntry& entry : entries) {
        index += entry.Headword + '\0' + BigEndian32(data.size()) + BigEndian32(entry.Definition.size());
        data += entry.Definition;
    }
    WriteBytes(stem + ".dict", data);
    WriteBytes(stem + ".idx", index);
    WriteBytes(stem + ".ifo",
               "StarDict's dict ifo file\nversion=2.4.2\nwordcount=" + std::to_string(entries.size()) +
                   "\nidxfilesize=" + std::to_string(index.size()) + "\nbookname=" + name +
                   "\nsametypesequence=m\n");
    return stem + ".ifo";
}

void DeleteDictionary(const std::string& path) {
    for (const char* extension : {".index", ".dict", ".ifo", ".idx"})
        DeleteFileW(Utf16FromUtf8(Stem(path) + extension).c_str());
}

} // namespace TestSupport
