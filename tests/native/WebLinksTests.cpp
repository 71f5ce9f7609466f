// The predefined links and how links compare.
#include <gtest/gtest.h>

#include "Errors.h"
#include "SharedBlock.h"
#include "WebLinks.h"

TEST(PredefinedLinks, AreLockedWithEmptyUrlAfterAndFourLiveOnTheMakersDomain) {
    const char* descriptions[] = {"Glossa", "Synora", "Factorum", "Web Search Powered by Seekwell",
                                  "Bazaarly"};
    int onMakersDomain = 0;
    for (int i = 0; i < PredefinedLinkCount; ++i) {
        EXPECT_EQ(PredefinedLinks[i].Description, descriptions[i]);
        EXPECT_TRUE(PredefinedLinks[i].Locked);
        EXPECT_TRUE(PredefinedLinks[i].UrlAfter.empty());
        EXPECT_EQ(PredefinedLinks[i].UrlBefore.rfind("http://", 0), 0u);
        const std::string host =
            PredefinedLinks[i].UrlBefore.substr(7, PredefinedLinks[i].UrlBefore.find('/', 7) - 7);
        const std::string suffix = MakerDomainSuffix;
        if (host.size() > suffix.size() &&
            host.compare(host.size() - suffix.size(), suffix.size(), suffix) == 0)
            ++onMakersDomain;
    }
    EXPECT_EQ(onMakersDomain, 4);
    EXPECT_FALSE(OldSearchLink.Locked);
    EXPECT_EQ(OldSearchLink.Description, "Seekwell");
}

TEST(LinkComparison, EqualIgnoresLockedIdenticalDoesNot) {
    TWebLink a{"Glossa", "http://x/?q=", "", true};
    TWebLink b = a;
    b.Locked = false;
    EXPECT_TRUE(LinksEqual(a, b));
    EXPECT_FALSE(LinksIdentical(a, b));
    b.Locked = true;
    EXPECT_TRUE(LinksIdentical(a, b));
    b.UrlAfter = "&x";
    EXPECT_FALSE(LinksEqual(a, b));
    b = a;
    b.Description = "glossa";
    EXPECT_FALSE(LinksEqual(a, b));
}

TEST(SharedBlockHandles, KeepTheLow32BitsAndSignExtend) {
    EXPECT_EQ(HandleToField(0x0000000000401234u), 0x00401234u);
    EXPECT_EQ(FieldToHandle(0x00401234u), 0x00401234u);
    EXPECT_EQ(FieldToHandle(0xFFFF8000u), static_cast<std::uintptr_t>(-0x8000));
    EXPECT_EQ(FieldToHandle(HandleToField(static_cast<std::uintptr_t>(-2))), static_cast<std::uintptr_t>(-2));
}

TEST(Errors, AssertionMessageNamesSourceAndLine) {
    try {
        RaiseAssertion("Assertion failure", "Settings", 206);
        FAIL();
    } catch (const TWordlarkError& error) {
        EXPECT_STREQ(error.what(), "Assertion failure (Settings, line 206)");
    }
    EXPECT_EQ(FormatNamed("Invalid data type for '%s'", "KeyCombo1"), "Invalid data type for 'KeyCombo1'");
    EXPECT_EQ(FormatNamed("%s%%s", "ab"), "ab%ab");
}
