#include "UrlText.h"

#include <algorithm>

#include "UnicodeText.h"

namespace {

bool IsTrimmed(unsigned char byte) {
    return byte <= 32;
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsSchemeChar(char c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

bool IsUrlSafeChar(unsigned char byte) {
    // 73 bytes in all; the blank is not among them (it becomes %20, never "+"), the plus sign is.
    return byte == '!' || byte == '$' || (byte >= '\'' && byte <= '.') || (byte >= '0' && byte <= '9') ||
           (byte >= 'A' && byte <= 'Z') || byte == '_' || (byte >= 'a' && byte <= 'z');
}

std::string EncodeUrlText(const std::string& text) {
    static const char hexDigits[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (IsUrlSafeChar(byte)) {
            encoded += c;
        } else {
            // Bytes above 127, of the code page or of UTF-8, are escaped one by one.
            encoded += '%';
            encoded += hexDigits[byte >> 4];
            encoded += hexDigits[byte & 0x0F];
        }
    }
    return encoded;
}

std::string AsciiUpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string AsciiLowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string TrimText(const std::string& text) {
    std::size_t first = 0, last = text.size();
    while (first < last && IsTrimmed(static_cast<unsigned char>(text[first])))
        ++first;
    while (last > first && IsTrimmed(static_cast<unsigned char>(text[last - 1])))
        --last;
    return text.substr(first, last - first);
}

bool QualifiesForSiteTag(const std::string& url) {
    // The domain may occur anywhere, the looked-up text included: that is how a search on the shop
    // link for a text naming the maker's domain comes to carry the tag.
    const std::string lowerUrl = AsciiLowerCase(url);
    if (lowerUrl.find(AsciiLowerCase(MakerDomainSuffix)) == std::string::npos)
        return false;
    for (const TWebLink& link : PredefinedLinks)
        if (StartsWith(lowerUrl, AsciiLowerCase(link.UrlBefore)))
            return true;
    return false;
}

void AddSiteTag(std::string& url) {
    if (QualifiesForSiteTag(url))
        url += SiteTag;
}

TBrowserCommand SplitCommand(const std::string& command) {
    TBrowserCommand split;
    if (command.empty())
        return split;
    if (command[0] == '"') {
        const std::size_t closing = command.find('"', 1);
        if (closing == std::string::npos) {
            split.Parameters = TrimText(command.substr(1));
        } else {
            split.Program = command.substr(1, closing - 1);
            split.Parameters = TrimText(command.substr(closing + 1));
        }
        return split;
    }
    const std::size_t blank = command.find(' ');
    if (blank == std::string::npos) {
        split.Program = command;
    } else {
        split.Program = command.substr(0, blank);
        split.Parameters = TrimText(command.substr(blank + 1));
    }
    return split;
}

std::string BrowserParameters(const std::string& parameters, const std::string& url) {
    const std::string placeholder = UrlPlaceholder;
    if (parameters.find(placeholder) == std::string::npos)
        return parameters + " " + url;
    // Built from the original parameters, so a "%1" inside the URL is never replaced in turn.
    std::string result;
    std::size_t from = 0;
    for (std::size_t at; (at = parameters.find(placeholder, from)) != std::string::npos;
         from = at + placeholder.size())
        result.append(parameters, from, at - from).append(url);
    return result.append(parameters, from, std::string::npos);
}

bool CommandIsFirefox(const std::string& command) {
    return AsciiUpperCase(command).find("FIREFOX") != std::string::npos;
}

std::string WithoutHttpPrefix(const std::string& url) {
    const std::string prefix = "HTTP://";
    return AsciiUpperCase(url.substr(0, prefix.size())) == prefix ? url.substr(prefix.size()) : url;
}

bool LaunchSucceeded(std::intptr_t shellResult) {
    return shellResult > 32;
}

std::string LaunchFailureText(const std::string& description, std::intptr_t shellResult) {
    // Built by concatenation rather than a format, so a "%" in the description is shown as it is.
    return "Failed to launch " + description + "; please check browser settings.   (Error code = " +
           std::to_string(static_cast<int>(shellResult)) + ")";
}

bool IsWebAddress(const std::string& url) {
    // A scheme of one letter is a drive ("C:\..."), not a scheme.
    const std::size_t colon = url.find(':');
    if (colon == std::string::npos || colon < 2 || !IsAsciiLetter(url[0]))
        return false;
    for (std::size_t i = 1; i < colon; ++i)
        if (!IsSchemeChar(url[i]))
            return false;
    return AsciiLowerCase(url.substr(0, colon)) != "file";
}

bool FindUrlHost(const std::string& url, std::size_t& begin, std::size_t& end) {
    const std::size_t slashes = url.find("://");
    if (slashes == std::string::npos || slashes == 0)
        return false;
    for (std::size_t i = 0; i < slashes; ++i)
        if (!IsSchemeChar(url[i]))
            return false;
    const std::size_t authority = slashes + 3;
    const std::size_t authorityEnd = std::min(url.find_first_of("/?#", authority), url.size());
    const std::size_t at = url.rfind('@', authorityEnd == 0 ? 0 : authorityEnd - 1);
    begin = at != std::string::npos && at >= authority ? at + 1 : authority;
    // An IPv6 literal holds colons of its own; it is ASCII and never converted.
    const std::size_t colon = url[begin] == '[' ? std::string::npos : url.find(':', begin);
    end = std::min(colon, authorityEnd);
    return true;
}

std::string Utf8UrlPart(const std::string& part, const THostToAscii& hostToAscii) {
    std::string text = Utf8FromUtf16(Utf16FromUtf8(part));
    std::size_t begin = 0, end = 0;
    if (FindUrlHost(text, begin, end)) {
        const std::string host = text.substr(begin, end - begin);
        const bool ascii = std::all_of(host.begin(), host.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        const std::string converted = ascii || !hostToAscii ? std::string() : hostToAscii(host);
        if (!converted.empty())
            text.replace(begin, end - begin, converted);
    }
    static const char digits[] = "0123456789ABCDEF";
    std::string sent;
    sent.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            sent += c;
        } else {
            sent += '%';
            sent += digits[byte >> 4];
            sent += digits[byte & 0xF];
        }
    }
    return sent;
}

std::string NotWebAddressText(const std::string& description, const std::string& url) {
    return "Failed to launch " + description + "; \"" + url.substr(0, ShownUrlLength) +
           "\" is not a web address.";
}
