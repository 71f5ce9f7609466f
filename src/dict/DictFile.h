// The dictionary readers' only way to the files: each file is opened for one read and closed
// again, so that the user may move, replace or delete a dictionary while the program runs.
// Needs no Win32: the system's files come from DictFileStd.cpp (host build) or DictFileWin.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// A file open for reading.
class TDictFile {
public:
    virtual ~TDictFile() = default;
    virtual std::uint64_t Size() const = 0;
    // Reads exactly `length` bytes at `offset`; false when the file has fewer or cannot be read.
    virtual bool Read(std::uint64_t offset, char* buffer, std::size_t length) = 0;
};

// Where files come from: the system's, or (for tests and fuzzers) memory.
class TDictFiles {
public:
    virtual ~TDictFiles() = default;
    // Null when the file does not exist or cannot be opened.
    virtual std::unique_ptr<TDictFile> Open(const std::string& path) const = 0;
};

const TDictFiles& SystemDictFiles();

// The whole file; false when it cannot be read or is larger than `maxSize`.
bool ReadWholeFile(const TDictFiles& files, const std::string& path, std::uint64_t maxSize,
                   std::string& bytes);

// The name under which the C runtime's fopen finds the file, for libraries that open files
// themselves (Hunspell): the path itself on the host; under Windows its form in the ANSI code page,
// else its short form; empty when the file has no such name.
std::string CRuntimePath(const std::string& path);

// The characters of an 8-bit character set's bytes 0x80 to 0xFF, 0 for a byte it does not define, as
// the system converts them: the set's Windows code page, or its name for iconv on the host. False
// when the system does not know the set.
bool EightBitCharset(unsigned codePage, const char* iconvName, std::u32string& upper);
