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

bool LinksEqual(const TWebLink& a, const TWebLink& b) {
    return a.Description == b.Description && a.UrlBefore == b.UrlBefore && a.UrlAfter == b.UrlAfter;
}

bool LinksIdentical(const TWebLink& a, const TWebLink& b) {
    return a.Locked == b.Locked && LinksEqual(a, b);
}
