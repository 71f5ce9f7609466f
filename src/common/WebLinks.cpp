#include "WebLinks.h"

const TWebLink PredefinedLinks[PredefinedLinkCount] = {
    {"Glossa", "http://glossa.orvane.com/search?q=", "", true},
    {"Synora", "http://synora.orvane.com/search?q=", "", true},
    {"Factorum", "http://www.orvane.com/search?q=", "", true},
    {"Web Search Powered by Seekwell", "http://www.orvane.com/search?db=web&q=", "", true},
    {"Bazaarly", "http://www.bazaarly.com/exec/obidos/external-search/?mode=blended&tag=orvane&keyword=", "",
     true},
};

const TWebLink OldSearchLink = {"Seekwell", "http://www.seekwell.com/search?q=", "", false};

const char* const LockedTexts[2] = {"0", "1"};

const char* const EncodingTexts[2] = {"ANSI", "UTF-8"};

TLinkEncoding LinkEncodingFromText(const std::string& text) {
    const std::string utf8 = EncodingTexts[1];
    if (text.size() != utf8.size())
        return TLinkEncoding::CodePage;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i] >= 'a' && text[i] <= 'z' ? static_cast<char>(text[i] - 'a' + 'A') : text[i];
        if (c != utf8[i])
            return TLinkEncoding::CodePage;
    }
    return TLinkEncoding::Utf8;
}

bool LinksEqual(const TWebLink& a, const TWebLink& b) {
    return a.Description == b.Description && a.UrlBefore == b.UrlBefore && a.UrlAfter == b.UrlAfter;
}

bool LinksIdentical(const TWebLink& a, const TWebLink& b) {
    return a.Locked == b.Locked && LinksEqual(a, b);
}
