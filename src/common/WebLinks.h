// Web links: the predefined ones that the store always restores, and how links compare.
// Needs no Win32.
#pragma once

#include <string>

struct TWebLink {
    std::string Description;
    std::string UrlBefore;
    std::string UrlAfter;
    bool Locked = false;
};

constexpr int PredefinedLinkCount = 5;
extern const TWebLink PredefinedLinks[PredefinedLinkCount];

// A search link of earlier versions; the store replaces it by the predefined web search link.
extern const TWebLink OldSearchLink;

// The texts stored for Locked: index 0 for false, 1 for true.
extern const char* const LockedTexts[2];

// The maker's domain, with its leading dot; the predefined links on it get the site tag.
constexpr const char* MakerDomainSuffix = ".orvane.com";

// The three strings are equal (byte for byte); Locked is ignored.
bool LinksEqual(const TWebLink& a, const TWebLink& b);
// LinksEqual and the same Locked.
bool LinksIdentical(const TWebLink& a, const TWebLink& b);
