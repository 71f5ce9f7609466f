// The registry store: options, the web link list with the predefined links merged in, the default link.
#include <gtest/gtest.h>

#include "Settings.h"
#include "SimpleReg.h"
#include "TestSupport.h"
#include "lookup/UrlText.h"

#include <cstdio>

namespace {

TWebLink Unlocked(TWebLink link) {
    link.Locked = false;
    return link;
}

const TWebLink UserLink{"My Site", "http://example.net/find?", "&lang=en", false};

void StoreList(const std::vector<TWebLink>& links) {
    ASettings::SetLinkCount(static_cast<int>(links.size()));
    for (size_t i = 0; i < links.size(); ++i)
        ASettings::WriteLink(static_cast<int>(i), links[i]);
}

// The stored list as "description[L]" items, read without merging.
std::string StoredList() {
    std::string text;
    const int count = ASimpleReg::ReadInteger(LinksKey, "LinkCount", 0);
    for (int i = 0; i < count; ++i) {
        const TWebLink link = ASettings::ReadLink(i);
        text += (i ? ", " : "") + link.Description + (link.Locked ? "[L]" : "");
    }
    return text;
}

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override { TestSupport::ClearProgramRegistry(); }
    void TearDown() override { TestSupport::ClearProgramRegistry(); }
};

} // namespace

TEST_F(SettingsStore, AnEmptyRegistryGivesTheFivePredefinedLinks) {
    EXPECT_TRUE(ASettings::GetOpenInNewBrowser());
    ASSERT_EQ(ASettings::GetLinkCount(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(LinksIdentical(ASettings::ReadLink(i), PredefinedLinks[i])) << i;
    EXPECT_EQ(ASettings::GetDefaultLink(), "Glossa");
    EXPECT_EQ(ASimpleReg::ReadInteger(LinksKey, "LinkCount", 0), 5);
    EXPECT_EQ(ASimpleReg::ReadString(LinksKey, "Link04Locked"), "1");
}

TEST_F(SettingsStore, OptionAndDefaultLinkRoundTrip) {
    ASettings::SetOpenInNewBrowser(false);
    EXPECT_FALSE(ASettings::GetOpenInNewBrowser());
    ASettings::SetDefaultLink("No Such Link");
    EXPECT_EQ(ASettings::GetDefaultLink(), "No Such Link");
}

TEST_F(SettingsStore, AnOldUserListHasItsOldSearchLinkReplacedInPlace) {
    StoreList({Unlocked(PredefinedLinks[0]), Unlocked(PredefinedLinks[1]), Unlocked(PredefinedLinks[2]),
               OldSearchLink});
    EXPECT_EQ(ASettings::GetLinkCount(), 5);
    EXPECT_EQ(StoredList(),
              "Glossa[L], Synora[L], Factorum[L], Web Search Powered by Seekwell[L], Bazaarly[L]");
}

TEST_F(SettingsStore, TheOldSearchLinkStaysOnceAnythingIsLocked) {
    StoreList({OldSearchLink, PredefinedLinks[4]});
    ASettings::GetLinkCount();
    EXPECT_EQ(StoredList(), "Seekwell, Bazaarly[L], Glossa[L], Synora[L], Factorum[L], "
                            "Web Search Powered by Seekwell[L]");
}

TEST_F(SettingsStore, ReorderedPredefinedLinksStayAndMissingOnesAreAppended) {
    StoreList({PredefinedLinks[4], UserLink, PredefinedLinks[0], PredefinedLinks[2], PredefinedLinks[3]});
    EXPECT_EQ(ASettings::GetLinkCount(), 6);
    EXPECT_EQ(StoredList(),
              "Bazaarly[L], My Site, Glossa[L], Factorum[L], Web Search Powered by Seekwell[L], "
              "Synora[L]");
    EXPECT_EQ(ASettings::GetDefaultLink(), "Bazaarly");
    EXPECT_TRUE(LinksIdentical(ASettings::ReadLink(1), UserLink));
}

TEST_F(SettingsStore, AnUnlockedCopyOfAPredefinedLinkIsLockedInItsPlace) {
    StoreList({UserLink, Unlocked(PredefinedLinks[1]), PredefinedLinks[0], PredefinedLinks[2],
               PredefinedLinks[3], PredefinedLinks[4]});
    EXPECT_EQ(ASettings::GetLinkCount(), 6);
    EXPECT_EQ(StoredList(), "My Site, Synora[L], Glossa[L], Factorum[L], Web Search Powered by Seekwell[L], "
                            "Bazaarly[L]");
}

TEST_F(SettingsStore, LinkValueNamesUseAtLeastTwoDigits) {
    ASettings::WriteLink(7, UserLink);
    ASettings::WriteLink(123, UserLink);
    EXPECT_EQ(ASimpleReg::ReadString(LinksKey, "Link07Desc"), "My Site");
    EXPECT_EQ(ASimpleReg::ReadString(LinksKey, "Link07UrlBefore"), UserLink.UrlBefore);
    EXPECT_EQ(ASimpleReg::ReadString(LinksKey, "Link123UrlAfter"), "&lang=en");
    EXPECT_EQ(ASimpleReg::ReadString(LinksKey, "Link123Locked"), "0");
    EXPECT_EQ(ASimpleReg::ReadString(LinksKey, "Link00Desc", "none"), "none");
}

TEST_F(SettingsStore, OnlyTheTextOneReadsAsLocked) {
    for (const char* text : {"True", "01", "1 ", "true", ""}) {
        ASimpleReg::WriteString(LinksKey, "Link02Locked", text);
        EXPECT_FALSE(ASettings::ReadLink(2).Locked) << text;
    }
    ASimpleReg::WriteString(LinksKey, "Link02Locked", "1");
    EXPECT_TRUE(ASettings::ReadLink(2).Locked);
}

TEST_F(SettingsStore, ShrinkingTheListLeavesOldValuesThatReadsIgnore) {
    std::vector<TWebLink> links(PredefinedLinks, PredefinedLinks + 5);
    links.push_back(UserLink);
    links.push_back({"Seventh", "http://seven/?", "", false});
    links.push_back({"Eighth", "http://eight/?", "", false});
    StoreList(links);
    links.resize(6);
    StoreList(links);
    EXPECT_EQ(ASettings::GetLinkCount(), 6);
    EXPECT_EQ(ASimpleReg::ReadString(LinksKey, "Link07Desc"), "Eighth");
    EXPECT_EQ(StoredList(),
              "Glossa[L], Synora[L], Factorum[L], Web Search Powered by Seekwell[L], Bazaarly[L], "
              "My Site");
}

TEST_F(SettingsStore, ADamagedNegativeCountStandsForAnEmptyList) {
    ASimpleReg::WriteInteger(LinksKey, "LinkCount", -3);
    EXPECT_EQ(ASettings::GetLinkCount(), 5);
    EXPECT_EQ(StoredList(),
              "Glossa[L], Synora[L], Factorum[L], Web Search Powered by Seekwell[L], Bazaarly[L]");
}

namespace {

// Seconds that the call took.
template <class F> double Timed(F call) {
    const ULONGLONG start = GetTickCount64();
    call();
    return static_cast<double>(GetTickCount64() - start) / 1000;
}

} // namespace

// A damaged count is never taken as larger than the links the stored values can describe.
TEST_F(SettingsStore, AHugeCountIsBoundedByTheStoredValues) {
    StoreList({UserLink});
    ASimpleReg::WriteInteger(LinksKey, "LinkCount", 2147483647);
    std::string defaultLink;
    EXPECT_LT(Timed([&] { defaultLink = ASettings::GetDefaultLink(); }), 5.0);
    EXPECT_EQ(defaultLink, "My Site");
    EXPECT_EQ(StoredList(), "My Site, Glossa[L], Synora[L], Factorum[L], Web Search Powered by Seekwell[L], "
                            "Bazaarly[L]");
}

// The figures go to docs/performance.md; the bound only catches work that grows without limit.
TEST_F(SettingsStore, AThousandLinksAreCountedAndLookedUpInBoundedTime) {
    std::vector<TWebLink> links(PredefinedLinks, PredefinedLinks + 5);
    for (int i = 5; i < 1000; ++i)
        links.push_back({"Link " + std::to_string(i), "http://example.net/" + std::to_string(i), "", false});
    StoreList(links);
    ASettings::SetDefaultLink("Link 999");
    int count = 0;
    const double counting = Timed([&] { count = ASettings::GetLinkCount(); });
    TWebLink found; // the store's part of a Quick Lookup on the last link
    const double lookup = Timed([&] {
        found = FindWebLink(ASettings::GetLinkCount(), ASettings::ReadLink, ASettings::GetDefaultLink());
    });
    EXPECT_EQ(count, 1000);
    EXPECT_EQ(found.UrlBefore, "http://example.net/999");
    EXPECT_LT(counting + lookup, 60.0);
    std::printf("1000 links: GetLinkCount %.2f s, lookup on the last link %.2f s\n", counting, lookup);
}

// Long texts come back whole and values of the wrong type raise the error that names them: the
// behaviour of the store and the registry helpers, nothing worse.
TEST_F(SettingsStore, LongStringsAndWrongTypesGiveTheStoresOwnBehaviour) {
    const std::string longText(65536, 'x');
    StoreList({{longText, longText, longText, false}});
    ASimpleReg::WriteString(LinksKey, "Link00Locked", longText);
    ASimpleReg::WriteString(LinksKey, "DefaultLink", longText);
    EXPECT_LT(Timed([] { EXPECT_EQ(ASettings::GetLinkCount(), 6); }), 5.0);
    EXPECT_TRUE(LinksIdentical(ASettings::ReadLink(0), TWebLink{longText, longText, longText, false}));
    EXPECT_EQ(ASettings::GetDefaultLink(), longText);

    const DWORD number = 1;
    auto setRaw = [](const char* key, const char* name, DWORD type, const void* data, size_t size) {
        RegSetKeyValueA(HKEY_CURRENT_USER, key, name, type, data, static_cast<DWORD>(size));
    };
    setRaw(GeneralKey, "OpenInNewBrowser", REG_SZ, longText.c_str(), longText.size() + 1);
    setRaw(LinksKey, "Link00UrlBefore", REG_DWORD, &number, sizeof number);
    setRaw(LinksKey, "DefaultLink", REG_BINARY, longText.data(), longText.size());
    using TestSupport::ErrorText;
    EXPECT_EQ(ErrorText([] { ASettings::GetOpenInNewBrowser(); }),
              "Invalid data type for 'OpenInNewBrowser'");
    EXPECT_EQ(ErrorText([] { ASettings::GetLinkCount(); }), "Invalid data type for 'Link00UrlBefore'");
    setRaw(LinksKey, "Link00UrlBefore", REG_SZ, "", 1);
    EXPECT_EQ(ErrorText([] { ASettings::GetDefaultLink(); }), "Invalid data type for 'DefaultLink'");
    setRaw(LinksKey, "LinkCount", REG_SZ, longText.c_str(), longText.size() + 1);
    EXPECT_EQ(ErrorText([] { ASettings::GetLinkCount(); }), "Invalid data type for 'LinkCount'");
}
