// The text work of a lookup: encoding, the site tag, the choice of link, the browser command.
#include <gtest/gtest.h>

#include <vector>

#include "WebLinks.h"
#include "common/UnicodeText.h"
#include "lookup/UrlText.h"

TEST(UrlEncoding, EscapesEveryUnsafeByteInUpperCaseHexAndPassesPlus) {
    EXPECT_EQ(EncodeUrlText("caf\xE9 au lait"), "caf%E9%20au%20lait");
    EXPECT_EQ(EncodeUrlText("R&D/2"), "R%26D%2F2");
    EXPECT_EQ(EncodeUrlText("a+b"), "a+b");
    EXPECT_EQ(EncodeUrlText("~"), "%7E");
    EXPECT_EQ(EncodeUrlText("\n"), "%0A");
    EXPECT_EQ(EncodeUrlText("\x1F"), "%1F");
    EXPECT_EQ(EncodeUrlText(std::string("a\0b", 3)), "a%00b");
    EXPECT_EQ(EncodeUrlText("\xFF\x7F"), "%FF%7F");
    EXPECT_EQ(EncodeUrlText(""), "");
}

TEST(UrlParts, AUtf8LinkSendsItsPartsAsAsciiWithTheHostAloneInItsAsciiForm) {
    std::vector<std::string> hosts;
    const THostToAscii toAscii = [&](const std::string& host) {
        hosts.push_back(host);
        return host == "\xD0\xBF" ? std::string() : std::string("xn--h"); // the first is refused
    };
    // An address as the browser's address bar shows it; an ASCII host is left alone.
    EXPECT_EQ(Utf8UrlPart("https://el.wiktionary.org/wiki/\xCE\x95\xCE\xB9:\xCE\xAE?s=", toAscii),
              "https://el.wiktionary.org/wiki/%CE%95%CE%B9:%CE%AE?s=");
    EXPECT_EQ(Utf8UrlPart("http://\xC3\xA9@\xC3\xA9.x:80/\xC3\xA9?q=%20", toAscii),
              "http://%C3%A9@xn--h:80/%C3%A9?q=%20");
    EXPECT_EQ(Utf8UrlPart("http://\xD0\xBF/", toAscii), "http://%D0%BF/");
    EXPECT_EQ(hosts, (std::vector<std::string>{"\xC3\xA9.x", "\xD0\xBF"}));
    // A lone surrogate, typed or stored, and a byte that is not UTF-8 are U+FFFD; the rest stays.
    EXPECT_EQ(Utf8UrlPart(Utf8FromUtf16(std::wstring{L'a', wchar_t(0xD800), L'b'}) + "\xFF", nullptr),
              "a%EF%BF%BDb%EF%BF%BD");
}

TEST(UrlEncoding, SafeSetHasExactly73Bytes) {
    std::string safe;
    for (int byte = 0; byte < 256; ++byte)
        if (IsUrlSafeChar(static_cast<unsigned char>(byte)))
            safe += static_cast<char>(byte);
    EXPECT_EQ(safe, "!$'()*+,-.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(safe.size(), 73u);
    EXPECT_EQ(EncodeUrlText(safe), safe);
}

TEST(TextHelpers, CaseChangesAndTrimmingTouchOnlyTheirBytes) {
    EXPECT_EQ(AsciiUpperCase("Caf\xE9 z@[`{"), "CAF\xE9 Z@[`{");
    EXPECT_EQ(AsciiLowerCase("CAF\xC9 Z@[`{"), "caf\xC9 z@[`{");
    EXPECT_EQ(TrimText(std::string("\0\t \x20x y\r\n\x1F", 10)), "x y");
    EXPECT_EQ(TrimText("\x7F x \xA0"), "\x7F x \xA0");
    EXPECT_EQ(TrimText(" \t "), "");
}

TEST(SiteTag, PredefinedLinksOnTheMakersDomainGetItOnce) {
    std::string url = "http://glossa.orvane.com/search?q=hello%20world";
    AddSiteTag(url);
    EXPECT_EQ(url, "http://glossa.orvane.com/search?q=hello%20world&r=5");

    url = "HTTP://Glossa.ORVANE.com/Search?Q=x&lang=en";
    AddSiteTag(url);
    EXPECT_EQ(url, "HTTP://Glossa.ORVANE.com/Search?Q=x&lang=en&r=5");

    // A user's own link that begins like a predefined one.
    url = "http://www.orvane.com/search?q=word&mine=1";
    AddSiteTag(url);
    EXPECT_EQ(url, "http://www.orvane.com/search?q=word&mine=1&r=5");
}

TEST(SiteTag, OtherSitesGetItOnlyWhenBothRulesHold) {
    const std::string shop = PredefinedLinks[4].UrlBefore;
    std::string url = shop + "lamp";
    AddSiteTag(url);
    EXPECT_EQ(url, shop + "lamp");
    url = shop + "www.Orvane.com";
    AddSiteTag(url);
    EXPECT_EQ(url, shop + "www.Orvane.com&r=5");

    // The domain alone is not enough, nor a predefined link's host on another scheme.
    url = "http://example.com/?q=www.orvane.com";
    AddSiteTag(url);
    EXPECT_EQ(url, "http://example.com/?q=www.orvane.com");
    url = "https://glossa.orvane.com/search?q=x";
    AddSiteTag(url);
    EXPECT_EQ(url, "https://glossa.orvane.com/search?q=x");
}

TEST(LinkChoice, LastOfADescriptionElseTheFirstElseEmpty) {
    const std::vector<TWebLink> links = {{"First", "http://1/?q=", "", false},
                                         {"Twin", "http://2/?q=", "", false},
                                         {"Twin", "http://3/?q=", "", false}};
    std::vector<int> reads;
    auto read = [&](int i) {
        reads.push_back(i);
        return links[static_cast<std::size_t>(i)];
    };
    EXPECT_EQ(FindWebLink(3, read, "Twin").UrlBefore, "http://3/?q=");
    EXPECT_EQ(reads, std::vector<int>{2});
    EXPECT_EQ(FindWebLink(3, read, "twin").Description, "First");
    EXPECT_EQ(FindWebLink(3, read, "Missing").UrlBefore, "http://1/?q=");
    const TWebLink none = FindWebLink(0, read, "First");
    EXPECT_TRUE(none.Description.empty() && none.UrlBefore.empty() && none.UrlAfter.empty());
}

TEST(BrowserCommand, SplitsQuotedUnquotedAndUnclosedCommands) {
    auto split = [](const std::string& command) {
        const TBrowserCommand parts = SplitCommand(command);
        return parts.Program + "|" + parts.Parameters;
    };
    EXPECT_EQ(split("\"C:\\Program Files\\Web\\web.exe\"  -nohome \"%1\" "),
              "C:\\Program Files\\Web\\web.exe|-nohome \"%1\"");
    EXPECT_EQ(split("\"C:\\web.exe\""), "C:\\web.exe|");
    EXPECT_EQ(split("C:\\web.exe   -url %1\t"), "C:\\web.exe|-url %1");
    EXPECT_EQ(split("C:\\Program Files\\web.exe %1"), "C:\\Program|Files\\web.exe %1");
    EXPECT_EQ(split("web.exe"), "web.exe|");
    EXPECT_EQ(split("\"C:\\Program Files\\web.exe -url %1 "), "|C:\\Program Files\\web.exe -url %1");
    EXPECT_EQ(split(""), "|");
}

TEST(BrowserCommand, PlaceholderTakesTheUrlEverywhereButInsideIt) {
    EXPECT_EQ(BrowserParameters("-a \"%1\" -b %1", "http://x/?q=1"), "-a \"http://x/?q=1\" -b http://x/?q=1");
    EXPECT_EQ(BrowserParameters("%1", "http://x/?q=%1%1"), "http://x/?q=%1%1");
    EXPECT_EQ(BrowserParameters("%%1%", "u"), "%u%");
    EXPECT_EQ(BrowserParameters("-new-window", "http://x/"), "-new-window http://x/");
    EXPECT_EQ(BrowserParameters("", "http://x/"), " http://x/");
}

TEST(BrowserCommand, FirefoxLosesOnlyAPlainHttpPrefix) {
    EXPECT_TRUE(CommandIsFirefox("\"C:\\Mozilla FireFox\\browser.exe\" %1"));
    EXPECT_FALSE(CommandIsFirefox("\"C:\\fire\\fox.exe\" %1"));
    EXPECT_EQ(WithoutHttpPrefix("hTtP://glossa.orvane.com/"), "glossa.orvane.com/");
    EXPECT_EQ(WithoutHttpPrefix("https://glossa.orvane.com/"), "https://glossa.orvane.com/");
    EXPECT_EQ(WithoutHttpPrefix("http:/"), "http:/");
    EXPECT_EQ(WithoutHttpPrefix("http://"), "");
}

TEST(LaunchResult, AboveThirtyTwoIsSuccessAndFailuresNameLinkAndCode) {
    EXPECT_FALSE(LaunchSucceeded(0));
    EXPECT_FALSE(LaunchSucceeded(32));
    EXPECT_TRUE(LaunchSucceeded(33));
    EXPECT_EQ(LaunchFailureText("Glossa 100%s", 2),
              "Failed to launch Glossa 100%s; please check browser settings.   (Error code = 2)");
}

// UTF-16 as Windows holds it: one code unit per wchar_t, so a pair is two.
TEST(UnicodeText, TheCutStopsAtTheFirstNulAndNeverSplitsAPair) {
    std::wstring pairs;
    for (int i = 0; i < 2000; ++i)
        pairs += {0xD83D, 0xDE00};
    EXPECT_EQ(Utf16CutLength(pairs.data(), pairs.size(), 2000), 2000u); // 1000 whole characters
    EXPECT_EQ(Utf16CutLength(pairs.data(), pairs.size(), 1999), 1998u);
    EXPECT_EQ(Utf16CutLength(L"ab\0cd", 5, 2000), 2u);
}

TEST(UnicodeText, OnlyUtf8InAnyLetterCaseMakesALinkSendUtf8) {
    EXPECT_EQ(LinkEncodingFromText("utf-8"), TLinkEncoding::Utf8);
    for (const char* name : {"", "ANSI", "UTF8", "UTF-8 "})
        EXPECT_EQ(LinkEncodingFromText(name), TLinkEncoding::CodePage);
}

TEST(LaunchResult, OnlyASchemeOfTwoOrMoreCharactersOtherThanFileIsAWebAddress) {
    for (const char* url : {"http://x/", "HTTPS://x", "ms-settings:", "a1+b-c.d:x", "mailto:a@b"})
        EXPECT_TRUE(IsWebAddress(url)) << url;
    for (const char* url : {"notepad", "C:\\Windows\\notepad.exe", "c:x", "FiLe:///C:/Windows/System32/",
                            "1a:x", "-x:y", "ht tp://x", "\xE9t\xE9:x", ":x", ""})
        EXPECT_FALSE(IsWebAddress(url)) << url;
    const std::string longUrl(65536, 'n');
    EXPECT_EQ(NotWebAddressText("Bare", longUrl),
              "Failed to launch Bare; \"" + longUrl.substr(0, 200) + "\" is not a web address.");
}
