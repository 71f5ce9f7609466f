// The readers against Debian's real dictionaries read another way: dictd files by a plain parse of
// the .index and the whole .dict.dz inflated by zlib's gzip reader; the StarDict XMLittre against
// what sdcv prints. Skipped only where the package's files are absent.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "dict/Dictionary.h"
#include "support/DictWriter.h"

namespace {

// The whole file; zlib's reader inflates a gzip file and reads any other as it is.
std::string ReadAll(const std::string& path) {
    std::string data;
    char buffer[1 << 16];
    gzFile file = gzopen(path.c_str(), "rb");
    for (int read; file && (read = gzread(file, buffer, sizeof buffer)) > 0;)
        data.append(buffer, static_cast<std::size_t>(read));
    gzclose(file);
    return data;
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \n"), last = text.find_last_not_of(" \n");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        parts.push_back(part);
    return parts;
}

} // namespace

TEST(RealDictd, AFewHundredHeadwordsHaveTheDefinitionsThatTheWholeFileHolds) {
    std::size_t compared = 0;
    // WordNet and FreeDict are in byte order, GCIDE in the default order with mixed case.
    for (const std::string base :
         {"/usr/share/dictd/wn", "/usr/share/dictd/freedict-fra-eng", "/usr/share/dictd/gcide"}) {
        if (!std::ifstream(base + ".index") || !std::ifstream(base + ".dict.dz"))
            continue;
        std::string error;
        const auto dictionary = TDictionary::Open(base + ".index", error);
        ASSERT_TRUE(dictionary) << base << ": " << error;
        const std::string data = ReadAll(base + ".dict.dz");
        const auto number = [](const std::string& text) {
            std::size_t value = 0;
            for (const char c : text)
                value = value * 64 + std::string(DictWriter::Base64Digits).find(c);
            return value;
        };
        // Every 150th headword, with all its entries in file order.
        const std::vector<std::string> lines = Split(ReadAll(base + ".index"), '\n');
        std::map<std::string, std::string> expected; // as DictWriter::Look shows them
        for (std::size_t i = 0; i < lines.size(); i += lines.size() / 150)
            if (lines[i].rfind("00", 0) != 0)
                expected[Split(lines[i], '\t')[0]];
        for (const std::string& line : lines) {
            const std::vector<std::string> column = Split(line, '\t');
            if (expected.count(column[0]))
                expected[column[0]] += (expected[column[0]].empty() ? "" : " | ") + column[0] + ": " +
                                       Trimmed(data.substr(number(column[1]), number(column[2])));
        }
        for (const auto& [word, entries] : expected)
            EXPECT_EQ(DictWriter::Look(*dictionary, word), entries) << base << ": " << word;
        compared += expected.size();
    }
    if (compared == 0)
        GTEST_SKIP() << "dict-wn, dict-freedict-fra-eng and dict-gcide are not installed";
    EXPECT_GT(compared, 300u);
}

TEST(RealStarDict, XmlittreDefinitionsAreWhatSdcvPrints) {
    const std::string folder = "/usr/share/stardict/dic", base = folder + "/XMLittre";
    if (!std::ifstream(base + ".ifo") || !std::ifstream("/usr/bin/sdcv"))
        GTEST_SKIP() << "stardict-xmlittre or sdcv is not installed";
    // Every 400th headword of the .idx (headword, NUL, offset and size), quoted for the shell; sdcv
    // prints a JSON list a word, which Python's parser turns into what DictWriter::Look shows. Both
    // get a UTF-8 locale whatever the caller's: without one sdcv cannot convert the headwords.
    const std::string idx = ReadAll(base + ".idx");
    std::vector<std::string> words;
    std::string command = "LC_ALL=C.UTF-8 SDCV_PAGER= sdcv -n -e -x -j --data-dir " + folder;
    for (std::size_t at = 0, i = 0; at < idx.size(); at = idx.find('\0', at) + 9, ++i) {
        const std::string word = idx.substr(at, idx.find('\0', at) - at);
        if (i % 400 != 0 || word[0] == '-')
            continue;
        words.push_back(word);
        command += " '";
        for (const char c : word)
            command += c == '\'' ? std::string("'\\''") : std::string(1, c);
        command += "'";
    }
    const std::string printedFile = testing::TempDir() + "sdcv-xmlittre.txt";
    command += " | LC_ALL=C.UTF-8 PYTHONIOENCODING=utf-8 python3 -c \"import json, sys\nfor line in "
               "sys.stdin: print(' | '.join(e['word'] + ': ' + "
               "e['definition'].strip(' \\n') for e in json.loads(line)), end='\\0')\" > " +
               printedFile;
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::vector<std::string> printed = Split(ReadAll(printedFile), '\0');
    std::remove(printedFile.c_str());
    ASSERT_GE(words.size(), 250u);
    ASSERT_EQ(printed.size(), words.size());
    std::string error;
    const auto dictionary = TDictionary::Open(base + ".ifo", error);
    ASSERT_TRUE(dictionary) << error;
    for (std::size_t i = 0; i < words.size(); ++i) {
        ASSERT_FALSE(printed[i].empty()) << words[i];
        EXPECT_EQ(DictWriter::Look(*dictionary, words[i]), printed[i]) << words[i];
    }
}
