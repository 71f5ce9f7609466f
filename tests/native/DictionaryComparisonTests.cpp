// The readers against Debian's real dictionaries, read another way: dictd files through a plain
// parse of the .index and the whole .dict.dz inflated by zlib's gzip reader; the StarDict XMLittre
// against what sdcv prints. Skipped only where the package's files are absent.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "dict/Dictionary.h"

namespace {

bool Exists(const std::string& path) {
    return std::ifstream(path).good();
}

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string Gunzip(const std::string& path) {
    std::string data;
    gzFile file = gzopen(path.c_str(), "rb");
    char buffer[1 << 16];
    for (int read; file && (read = gzread(file, buffer, sizeof buffer)) > 0;)
        data.append(buffer, static_cast<std::size_t>(read));
    if (file)
        gzclose(file);
    return data;
}

std::uint64_t FromBase64(const std::string& text) {
    const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::uint64_t value = 0;
    for (const char c : text)
        value = value * 64 + digits.find(c);
    return value;
}

std::string TrimmedEnds(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \n"), last = text.find_last_not_of(" \n");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The JSON strings after each "definition": in one line of sdcv's output whose "word" is `word`.
std::vector<std::string> SdcvDefinitions(const std::string& line, const std::string& word) {
    std::vector<std::string> definitions;
    const auto string = [&](std::size_t& at) {
        std::string value;
        for (; at < line.size() && line[at] != '"'; ++at) {
            if (line[at] != '\\') {
                value += line[at];
                continue;
            }
            const char escape = line[++at];
            if (escape == 'u') {
                unsigned code = std::stoul(line.substr(at + 1, 4), nullptr, 16);
                at += 4;
                if (code >= 0xD800 && code < 0xDC00 && line.compare(at + 1, 2, "\\u") == 0) {
                    code = 0x10000 + ((code - 0xD800) << 10) +
                           (std::stoul(line.substr(at + 3, 4), nullptr, 16) - 0xDC00);
                    at += 6;
                }
                std::string utf8;
                if (code < 0x80)
                    utf8 = static_cast<char>(code);
                else if (code < 0x800)
                    utf8 = {static_cast<char>(0xC0 | code >> 6), static_cast<char>(0x80 | (code & 0x3F))};
                else if (code < 0x10000)
                    utf8 = {static_cast<char>(0xE0 | code >> 12),
                            static_cast<char>(0x80 | (code >> 6 & 0x3F)),
                            static_cast<char>(0x80 | (code & 0x3F))};
                else
                    utf8 = {static_cast<char>(0xF0 | code >> 18),
                            static_cast<char>(0x80 | (code >> 12 & 0x3F)),
                            static_cast<char>(0x80 | (code >> 6 & 0x3F)),
                            static_cast<char>(0x80 | (code & 0x3F))};
                value += utf8;
            } else {
                value += escape == 'n' ? '\n' : escape == 't' ? '\t' : escape == 'r' ? '\r' : escape;
            }
        }
        ++at;
        return value;
    };
    for (std::size_t at = line.find("\"word\":\""); at != std::string::npos;
         at = line.find("\"word\":\"", at)) {
        at += 8;
        const std::string found = string(at);
        at = line.find("\"definition\":\"", at) + 14;
        const std::string definition = string(at);
        if (found == word)
            definitions.push_back(definition);
    }
    return definitions;
}

} // namespace

TEST(RealDictd, AFewHundredHeadwordsHaveTheDefinitionsThatTheWholeFileHolds) {
    int compared = 0;
    // WordNet and FreeDict are in byte order, GCIDE in the default order with mixed case.
    for (const std::string base :
         {"/usr/share/dictd/wn", "/usr/share/dictd/freedict-fra-eng", "/usr/share/dictd/gcide"}) {
        if (!Exists(base + ".index") || !Exists(base + ".dict.dz"))
            continue;
        SCOPED_TRACE(base);
        const std::string data = Gunzip(base + ".dict.dz");
        ASSERT_FALSE(data.empty());
        // The index read plainly: headword -> definitions, in file order.
        std::vector<std::pair<std::string, std::string>> lines;
        std::istringstream index(ReadAll(base + ".index"));
        for (std::string line; std::getline(index, line);) {
            std::istringstream columns(line);
            std::string headword, offset, length;
            std::getline(columns, headword, '\t');
            std::getline(columns, offset, '\t');
            std::getline(columns, length, '\t');
            lines.emplace_back(headword, data.substr(FromBase64(offset), FromBase64(length)));
        }
        std::string error;
        const auto dictionary = TDictionary::Open(base + ".index", error);
        ASSERT_TRUE(dictionary) << error;
        std::map<std::string, std::vector<std::string>> expected;
        const std::size_t step = std::max<std::size_t>(1, lines.size() / 150);
        for (std::size_t i = 0; i < lines.size(); i += step)
            if (lines[i].first.rfind("00", 0) != 0)
                expected[lines[i].first];
        for (const auto& [headword, text] : lines)
            if (expected.count(headword))
                expected[headword].push_back(TrimmedEnds(text));
        for (const auto& [word, definitions] : expected) {
            std::vector<TDictEntry> entries;
            ASSERT_TRUE(dictionary->Lookup(word, entries)) << word;
            std::vector<std::string> shown;
            for (const TDictEntry& entry : entries) {
                EXPECT_EQ(entry.Headword, word);
                shown.push_back(TrimmedEnds(entry.Text));
            }
            EXPECT_EQ(shown, definitions) << word;
            ++compared;
        }
    }
    if (compared == 0)
        GTEST_SKIP() << "dict-wn and dict-freedict-fra-eng are not installed";
}

TEST(RealStarDict, XmlittreDefinitionsAreWhatSdcvPrints) {
    const std::string folder = "/usr/share/stardict/dic", base = folder + "/XMLittre";
    if (!Exists(base + ".ifo") || !Exists(base + ".idx") || !Exists("/usr/bin/sdcv"))
        GTEST_SKIP() << "stardict-xmlittre or sdcv is not installed";
    // Every 400th headword of the .idx (headword, NUL, offset and size).
    const std::string idx = ReadAll(base + ".idx");
    std::vector<std::string> words;
    for (std::size_t at = 0, i = 0; at < idx.size(); ++i) {
        const std::size_t end = idx.find('\0', at);
        const std::string word = idx.substr(at, end - at);
        if (i % 400 == 0 && word[0] != '-')
            words.push_back(word);
        at = end + 9;
    }
    std::string command = "SDCV_PAGER= sdcv -n -e -x -j --data-dir " + folder;
    for (const std::string& word : words) {
        std::string quoted;
        for (const char c : word)
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        command += " '" + quoted + "'";
    }
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[1 << 16];
        for (std::size_t read; (read = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            output.append(buffer, read);
        pclose(pipe);
    }
    std::istringstream lines(output);
    std::string error;
    const auto dictionary = TDictionary::Open(base + ".ifo", error);
    ASSERT_TRUE(dictionary) << error;
    ASSERT_GE(words.size(), 250u);
    std::size_t compared = 0;
    for (const std::string& word : words) {
        std::string line;
        ASSERT_TRUE(std::getline(lines, line)) << "sdcv printed less than a line a word";
        std::vector<std::string> expected;
        for (const std::string& definition : SdcvDefinitions(line, word))
            expected.push_back(TrimmedEnds(definition));
        std::vector<TDictEntry> entries;
        ASSERT_TRUE(dictionary->Lookup(word, entries)) << word;
        std::vector<std::string> shown;
        for (const TDictEntry& entry : entries)
            shown.push_back(TrimmedEnds(entry.Text));
        EXPECT_EQ(shown, expected) << word;
        compared += expected.empty() ? 0 : 1;
    }
    EXPECT_EQ(compared, words.size());
}
