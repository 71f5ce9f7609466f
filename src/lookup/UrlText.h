// The text work of a lookup: encoding the looked-up text, building and tagging the URL, reading the
// browser's registered command and deciding whether a launch worked. Needs no Win32; the window's
// lookup operations (LookupUrl.cpp) add only the registry read, the shell and the message box.
//
// Texts are bytes: the looked-up text comes in its link's encoding; case changes touch ASCII
// letters only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "WebLinks.h"

// Appended to a URL on one of the maker's predefined sites.
constexpr const char* SiteTag = "&r=5";
// Where the shell's registered command for a URL puts the URL.
constexpr const char* UrlPlaceholder = "%1";

bool IsUrlSafeChar(unsigned char byte);

// Where the host name of a URL lies (the bytes from `begin` to `end`): after the scheme's "://" and
// any user name with "@", up to a port, path, query or fragment. False for a text without "://".
bool FindUrlHost(const std::string& url, std::size_t& begin, std::size_t& end);
// A URL part of a UTF-8 link ("URL before" or "URL after") as it is sent: a host name outside
// ASCII replaced by hostToAscii's form of it (kept when that is empty: refused), then every byte
// outside ASCII "%" and two upper-case hexadecimal digits of its UTF-8. A text that is not
// well-formed UTF-8 is made so first (U+FFFD for what is not). ASCII stays as the user wrote it.
using THostToAscii = std::function<std::string(const std::string& host)>;
std::string Utf8UrlPart(const std::string& part, const THostToAscii& hostToAscii);
// Every byte outside the safe set becomes "%" and two upper-case hexadecimal digits.
std::string EncodeUrlText(const std::string& text);

std::string AsciiUpperCase(std::string text);
std::string AsciiLowerCase(std::string text);
// Removes leading and trailing bytes 0 to 32.
std::string TrimText(const std::string& text);

// The link used for a description: the last one of that description, else the first of the list,
// else an empty link. readLink(i) gives link i of count.
template <class ReadLink> TWebLink FindWebLink(int count, ReadLink readLink, const std::string& description) {
    TWebLink link;
    for (int i = count - 1; i >= 0; --i) {
        link = readLink(i);
        if (link.Description == description)
            break;
    }
    return link;
}

// True when the URL starts like one of the predefined links and names the maker's domain.
bool QualifiesForSiteTag(const std::string& url);
void AddSiteTag(std::string& url);

struct TBrowserCommand {
    std::string Program;
    std::string Parameters;
};
// Program and parameters of a (trimmed) command line: a quoted program, or the text before the
// first blank.
TBrowserCommand SplitCommand(const std::string& command);
// The parameters with the URL in place of every placeholder, or appended after a blank.
std::string BrowserParameters(const std::string& parameters, const std::string& url);
bool CommandIsFirefox(const std::string& command);
// The URL without a leading "http://" of any letter case.
std::string WithoutHttpPrefix(const std::string& url);

// ShellExecute's result: above 32 the program or document was started, else an error code.
bool LaunchSucceeded(std::intptr_t shellResult);
std::string LaunchFailureText(const std::string& description, std::intptr_t shellResult);
constexpr const char* LaunchFailureCaption = "Wordlark Link Failure";

// True when the URL begins with a scheme other than "file": a letter, then letters, digits, "+",
// "-" or ".", two characters or more, then ":". Anything else the shell would start as a program
// or open as a file.
bool IsWebAddress(const std::string& url);
// The failure message for a URL that is not a web address, showing at most its first
// ShownUrlLength bytes.
constexpr std::size_t ShownUrlLength = 200;
std::string NotWebAddressText(const std::string& description, const std::string& url);
