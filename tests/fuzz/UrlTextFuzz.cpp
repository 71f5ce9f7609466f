// Arbitrary bytes through the lookup's text work, with what must hold for any input: an encoded text,
// UTF-8 of any UTF-16 included, is plain URL text that decodes back, the site tag is appended at most once
// and ignores letter case, a command splits into parts of itself, and the placeholder takes the URL without
// rescanning, and a UTF-8 link's URL parts are ASCII whose escapes decode back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/UnicodeText.h"
#include "lookup/UrlText.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1; // lower-case digits are not well formed here
}

void CheckEncoding(const std::string& text) {
    const std::string encoded = EncodeUrlText(text);
    std::string decoded;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(encoded[i]);
        if (c != '%') {
            Check(IsUrlSafeChar(c));
            decoded += encoded[i];
            continue;
        }
        Check(i + 2 < encoded.size());
        const int high = HexValue(encoded[i + 1]), low = HexValue(encoded[i + 2]);
        Check(high >= 0 && low >= 0);
        const unsigned char byte = static_cast<unsigned char>(high * 16 + low);
        Check(!IsUrlSafeChar(byte)); // nothing is escaped that could pass as it is
        decoded += static_cast<char>(byte);
        i += 2;
    }
    Check(decoded == text);
}

void CheckCaseAndTrim(const std::string& text) {
    const std::string upper = AsciiUpperCase(text), lower = AsciiLowerCase(text);
    Check(upper.size() == text.size() && lower.size() == text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter)
            Check(upper[i] == text[i] && lower[i] == text[i]);
    }
    const std::string trimmed = TrimText(text);
    if (!trimmed.empty()) {
        Check(static_cast<unsigned char>(trimmed.front()) > 32 &&
              static_cast<unsigned char>(trimmed.back()) > 32);
        const std::size_t at = text.find(trimmed);
        Check(at != std::string::npos);
        for (std::size_t i = 0; i < at; ++i)
            Check(static_cast<unsigned char>(text[i]) <= 32);
        for (std::size_t i = at + trimmed.size(); i < text.size(); ++i)
            Check(static_cast<unsigned char>(text[i]) <= 32);
    } else {
        for (char c : text)
            Check(static_cast<unsigned char>(c) <= 32);
    }
}

void CheckSiteTag(const std::string& url) {
    std::string tagged = url;
    AddSiteTag(tagged);
    const std::string tag = SiteTag;
    Check(tagged == url || tagged == url + tag);
    // Letter case never decides whether a URL carries the tag.
    std::string upper = AsciiUpperCase(url), lower = AsciiLowerCase(url);
    AddSiteTag(upper);
    AddSiteTag(lower);
    Check((upper.size() > url.size()) == (tagged.size() > url.size()));
    Check((lower.size() > url.size()) == (tagged.size() > url.size()));
}

// The command as the registry read gives it: trimmed.
void CheckSplit(const std::string& command) {
    const TBrowserCommand split = SplitCommand(command);
    Check(TrimText(split.Parameters) == split.Parameters);
    Check(command.find(split.Program) != std::string::npos);
    Check(command.find(split.Parameters) != std::string::npos);
    if (command.empty())
        Check(split.Program.empty() && split.Parameters.empty());
    else if (command[0] == '"')
        Check(split.Program.find('"') == std::string::npos);
    else
        Check(!split.Program.empty() && split.Program.find(' ') == std::string::npos);
}

std::size_t CountPlaceholders(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '%' && text[i + 1] == '1') {
            ++count;
            ++i;
        }
    return count;
}

void CheckParameters(const std::string& parameters, const std::string& url) {
    const std::string result = BrowserParameters(parameters, url);
    const std::size_t placeholders = CountPlaceholders(parameters);
    if (placeholders == 0) {
        Check(result == parameters + " " + url);
        return;
    }
    // Each placeholder gives way to the whole URL, and nothing else changes in length.
    Check(result.size() == parameters.size() + placeholders * url.size() - placeholders * 2);
    Check(result.find(url) != std::string::npos);
}

bool InRange(wchar_t unit, wchar_t first, wchar_t last) {
    return unit >= first && unit <= last;
}

// The input's byte pairs as UTF-16 code units: their UTF-8 escapes to URL text that decodes back,
// and it reads back as the same units, every surrogate without its partner replaced by U+FFFD.
void CheckUtf8(const std::string& input) {
    std::wstring units, expected;
    for (std::size_t i = 0; i + 1 < input.size(); i += 2)
        units += static_cast<wchar_t>(static_cast<unsigned char>(input[i]) << 8 |
                                      static_cast<unsigned char>(input[i + 1]));
    for (std::size_t i = 0; i < units.size(); ++i) {
        const bool paired = InRange(units[i], 0xD800, 0xDBFF) && i + 1 < units.size() &&
                            InRange(units[i + 1], 0xDC00, 0xDFFF);
        expected += paired                              ? units.substr(i++, 2)
                    : InRange(units[i], 0xD800, 0xDFFF) ? L"\xFFFD"
                                                        : units.substr(i, 1);
    }
    const std::string utf8 = Utf8FromUtf16(units);
    CheckEncoding(utf8);
    Check(Utf16FromUtf8(utf8) == expected);
    // Any bytes read as UTF-8 give well-formed text, which survives the round trip.
    const std::wstring read = Utf16FromUtf8(input);
    Check(Utf16FromUtf8(Utf8FromUtf16(read)) == read);
}

// A UTF-8 link's URL part is ASCII whose escapes, all of bytes outside ASCII, decode back to the part
// as well-formed UTF-8 (the host conversion refused). The user's own "%" is made "#" here, so that
// every escape is one the encoding made.
void CheckUrlPart(std::string part) {
    std::replace(part.begin(), part.end(), '%', '#');
    const std::string sent = Utf8UrlPart(part, [](const std::string&) { return std::string(); });
    std::string decoded;
    for (std::size_t i = 0; i < sent.size(); ++i) {
        Check(static_cast<unsigned char>(sent[i]) < 0x80);
        const bool escape = sent[i] == '%' && i + 2 < sent.size() && HexValue(sent[i + 1]) >= 8;
        Check(sent[i] != '%' || (escape && HexValue(sent[i + 2]) >= 0));
        decoded += escape ? static_cast<char>(HexValue(sent[i + 1]) * 16 + HexValue(sent[i + 2])) : sent[i];
        i += escape ? 2 : 0;
    }
    Check(decoded == Utf8FromUtf16(Utf16FromUtf8(part)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    CheckEncoding(input);
    CheckUtf8(input);
    CheckUrlPart(input);
    CheckUrlPart("http://" + input);
    CheckCaseAndTrim(input);
    CheckSplit(TrimText(input));

    // The input split in two: a URL made of a predefined link's prefix, and parameters with it.
    const std::size_t cut = size / 2;
    const std::string first = input.substr(0, cut), second = input.substr(cut);
    CheckSiteTag(input);
    CheckSiteTag(PredefinedLinks[size % PredefinedLinkCount].UrlBefore + EncodeUrlText(first) + second);
    CheckParameters(first, second);
    CheckParameters(second, first);
    return 0;
}
