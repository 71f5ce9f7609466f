// Web links: the predefined ones that the store always restores, and how links compare.
// Needs no Win32.
#pragma once

#include <string>

// How a link's URL carries the looked-up text: as bytes of the system's ANSI code page, which
// every link of earlier versions uses, or as UTF-8, which today's web sites expect.
enum class TLinkEncoding { CodePage, Utf8 };

// The three texts are UTF-8, in any script; the registry keeps them in UTF-16.
struct TWebLink {
    std::string Description;
    std::string UrlBefore;
    std::string UrlAfter;
    bool Locked = false;
    TLinkEncoding Encoding = TLinkEncoding::CodePage;
};

constexpr int PredefinedLinkCount = 5;
extern const TWebLink PredefinedLinks[PredefinedLinkCount];

// A search link of earlier versions; the store replaces it by the predefined web search link.
extern const TWebLink OldSearchLink;

// The texts stored for Locked: index 0 for false, 1 for true.
extern const char* const LockedTexts[2];

// The texts stored for Encoding: index 0 for the code page, 1 for UTF-8.
extern const char* const EncodingTexts[2];
// UTF-8 for "UTF-8" in any letter case; every other text, none included, is the code page.
TLinkEncoding LinkEncodingFromText(const std::string& text);

// The maker's domain, with its leading dot; the predefined links on it get the site tag.
constexpr const char* MakerDomainSuffix = ".orvane.com";

// The three strings are equal (byte for byte); Locked and Encoding are ignored.
bool LinksEqual(const TWebLink& a, const TWebLink& b);
// LinksEqual and the same Locked.
bool LinksIdentical(const TWebLink& a, const TWebLink& b);
