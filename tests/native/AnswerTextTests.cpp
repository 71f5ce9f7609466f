// What the answer window shows, and where it goes.
#include <gtest/gtest.h>

#include "dict/MarkupText.h"
#include "lookup/AnswerText.h"

namespace {

std::vector<TAnswerStyle> Styles(const std::vector<TAnswerParagraph>& paragraphs) {
    std::vector<TAnswerStyle> styles;
    for (const TAnswerParagraph& paragraph : paragraphs)
        styles.push_back(paragraph.Style);
    return styles;
}

} // namespace

TEST(AnswerText, NoticesFirstThenEachDictionaryUnderItsNameWithItsEntriesInCrLfLines) {
    const std::vector<TDictionaryAnswer> answers = {
        {"WordNet", {{"lead", "\n\nlead\n  n 1: a soft metal   \r\n\r\n  v 1: guide\r\r"}, {"Lead", ""}}},
        {"Empty", {}},
        {"GCIDE", {{"lead", "Lead, v. t.\tTo guide."}}}};
    const std::vector<TAnswerParagraph> paragraphs =
        AnswerParagraphs({UnreadableNotice("wn.index")}, answers);
    using S = TAnswerStyle;
    EXPECT_EQ(Styles(paragraphs),
              (std::vector<S>{S::Notice, S::Gap, S::Heading, S::Headword, S::Definition, S::Gap, S::Headword,
                              S::Gap, S::Heading, S::Headword, S::Definition}));
    EXPECT_EQ(paragraphs[0].Text, "wn.index could not be read.");
    EXPECT_EQ(paragraphs[4].Text, "lead\r\n  n 1: a soft metal\r\n\r\n  v 1: guide");
    EXPECT_EQ(paragraphs[10].Text, "Lead, v. t.\tTo guide.");
    EXPECT_EQ(AnswerPlainText(AnswerParagraphs({NotFoundNotice("zyzzyva")}, {})),
              "No dictionary has \"zyzzyva\".");
    EXPECT_EQ(AnswerPlainText(AnswerParagraphs({}, {answers[2]})), "GCIDE\r\nlead\r\nLead, v. t.\tTo guide.");
}

TEST(AnswerText, AHugeAnswerIsCutAtACharacterStartAndEndsThere) {
    // Greek letters are two bytes each; the cut never splits one.
    std::string definition;
    while (definition.size() < 2 * MaxAnswerBytes)
        definition += "\xCE\xBB";
    const std::vector<TAnswerParagraph> paragraphs =
        AnswerParagraphs({}, {{"Big", {{"a", definition}, {"b", "never shown"}}}});
    ASSERT_EQ(paragraphs.size(), 3u);
    const std::string& cut = paragraphs[2].Text;
    EXPECT_LE(AnswerPlainText(paragraphs).size(), MaxAnswerBytes + 3);
    EXPECT_EQ(cut.substr(cut.size() - 5), "\xCE\xBB...");
}

TEST(AnswerPlace, BelowTheWordAboveItWhereThereIsNoRoomAndAlwaysInsideTheWorkArea) {
    const TScreenBox work{0, 0, 1024, 738};
    const auto place = [&](TScreenBox anchor, int width, int height) {
        const TScreenBox box = PlaceAnswerWindow(anchor, width, height, work);
        return std::vector<int>{box.Left, box.Top, box.Right, box.Bottom};
    };
    EXPECT_EQ(place({100, 200, 102, 216}, 300, 200), (std::vector<int>{100, 216, 400, 416}));
    EXPECT_EQ(place({100, 600, 102, 616}, 300, 200), (std::vector<int>{100, 400, 400, 600}));
    EXPECT_EQ(place({900, 200, 902, 216}, 300, 200), (std::vector<int>{724, 216, 1024, 416}));
    // No room above or below a tall window: it lies against the bottom of the work area.
    EXPECT_EQ(place({-50, 300, -48, 316}, 300, 500), (std::vector<int>{0, 238, 300, 738}));
    // Larger than the work area: as large as it, no larger.
    EXPECT_EQ(place({10, 10, 11, 20}, 2000, 2000), (std::vector<int>{0, 0, 1024, 738}));
    // A work area that does not start at the origin (a second monitor to the left).
    EXPECT_EQ(PlaceAnswerWindow({-1900, 100, -1898, 116}, 480, 360, {-1920, 0, 0, 1040}).Left, -1900);
    EXPECT_EQ(PlaceAnswerWindow({-100, 100, -98, 116}, 480, 360, {-1920, 0, 0, 1040}).Left, -480);
}

// The readers' link marks become links at the control's positions (a CR LF one character, a
// character beyond the BMP two); broken or blank marks leave plain text; close words come under the
// notice, each a link.
TEST(AnswerLinks, MarkedLinksBecomeRangesOfTheControlsTextWithTheirTargets) {
    const std::string open(LinkOpen), target(LinkTarget), close(LinkClose);
    const std::string text = "\U0001D11E {" + open + "atomic\n number " + close + "}, " + open + "pb" +
                             target + "Pb" + close + ", " + open + " " + close + open + "stray " + open +
                             "x" + close;
    const std::vector<TAnswerParagraph> paragraphs =
        AnswerParagraphs({NotFoundNotice("leed")}, {{"WordNet", {{"lead", text}}}}, {"lead", "led"});
    EXPECT_EQ(AnswerPlainText(paragraphs),
              "No dictionary has \"leed\".\r\nlead\r\nled\r\n\r\nWordNet\r\nlead\r\n"
              "\U0001D11E {atomic\r\n number }, Pb,  stray x");
    std::vector<std::string> found;
    for (const TAnswerLink& link : ControlLinks(paragraphs))
        found.push_back(std::to_string(link.Start) + "-" + std::to_string(link.End) + " " + link.Target);
    EXPECT_EQ(found, (std::vector<std::string>{"26-30 lead", "31-34 led", "53-68 atomic number", "71-73 pb",
                                               "82-83 x"}));
    // The same in RTF: the link groups, a CR LF one \par, specials escaped, U+1D11E as two units.
    const std::string rtf = AnswerRtf({paragraphs[1], paragraphs.back()}, "Tahoma", 16);
    EXPECT_EQ(rtf.substr(rtf.find("\\pard")),
              "\\pard\\f0\\fs16 {{\\ul\\cf1 lead}\\par {\\ul\\cf1 led}}\\par {\\u-10188 "
              "\\u-8930  \\{{\\ul\\cf1 atomic\\par  number }\\}, {\\ul\\cf1 Pb},  "
              "stray {\\ul\\cf1 x}}}");
}

TEST(AnswerHistory, BackAndForwardAFollowedWordDropsThoseAheadAndTheOldestGoBeyondTheLimit) {
    TAnswerHistory history;
    history.Start("lead");
    for (const char* word : {"Pb", "metal", "metal"})
        history.Add(word);
    std::string moves;
    for (const bool back : {true, true, true, false})
        moves += (back ? history.Back() : history.Forward()) + "|";
    EXPECT_EQ(moves, "Pb|lead||Pb|");
    history.Add("tin");
    EXPECT_EQ(history.Words(), (std::vector<std::string>{"lead", "Pb", "tin"}));
    EXPECT_EQ(history.Forward(), "");
    for (int n = 0; n < 60; ++n)
        history.Add("w" + std::to_string(n));
    EXPECT_EQ(history.Words().size(), TAnswerHistory::Limit);
    EXPECT_EQ(history.Words().front(), "w10");
    history.Start("new");
    EXPECT_EQ(history.Back() + history.Forward(), "");
}

TEST(AnswerZoom, StepsUpAndDownStopAtTheEndsAndStoredSizesOutOfRangeAreNone) {
    const std::vector<std::vector<int>> steps = {{100, 1, 110}, {110, 1, 125}, {250, 1, 300},
                                                 {300, 1, 300}, {120, 1, 125}, {100, -1, 90},
                                                 {50, -1, 50},  {40, -1, 50},  {275, 0, 100}};
    for (const std::vector<int>& step : steps)
        EXPECT_EQ(ZoomStep(step[0], step[1]), step[2]) << step[0] << " " << step[1];
    EXPECT_EQ(StoredWindowSide(640) + StoredWindowSide(99) + StoredWindowSide(0xFFFFFFFF), 640);
}
