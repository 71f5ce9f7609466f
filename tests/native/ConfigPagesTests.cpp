// The configuration window's page logic that needs no window: pending hot keys, the working link
// list and its editing, link validation, the default-link choice, the uninstaller's path, the list
// of programs that keep their own keys, the list of dictionaries.
#include <gtest/gtest.h>

#include "app/PendingKeyCombos.h"
#include "app/UninstallCommand.h"
#include "app/WorkingDictionaries.h"
#include "app/WorkingLinks.h"
#include "app/WorkingPrograms.h"
#include "common/ProgramNames.h"
#include "common/UnicodeText.h"

namespace {

TWebLink Custom(const std::string& description) {
    return {description, "http://example.com/?q=", "", false};
}

std::vector<std::string> Descriptions(const TWorkingLinks& links) {
    std::vector<std::string> result;
    for (const TWebLink& link : links.Links())
        result.push_back(link.Description);
    return result;
}

} // namespace

TEST(PendingKeyCombos, ResetGivesTheDefaultsAndTheFirstEqualPairIsReportedInOrder) {
    TPendingKeyCombos pending;
    pending.Reset();
    EXPECT_FALSE(pending.FindDuplicate());
    EXPECT_EQ(pending.Combos[MenuLookup].Value, DefaultKeyCombos[MenuLookup].Value);

    // All three equal: (0, 1) comes first.
    pending.Combos = {DefaultKeyCombos[0], DefaultKeyCombos[0], DefaultKeyCombos[0]};
    TDuplicateHotKeys duplicate = pending.FindDuplicate();
    EXPECT_EQ(duplicate.First, 0);
    EXPECT_EQ(duplicate.Second, 1);

    pending.Combos = {DefaultKeyCombos[0], DefaultKeyCombos[1], DefaultKeyCombos[1]};
    duplicate = pending.FindDuplicate();
    EXPECT_EQ(duplicate.First, 1);
    EXPECT_EQ(duplicate.Second, 2);

    // The extended flag is part of the combination.
    pending.Combos[2] =
        TKeyCombo::Make(DefaultKeyCombos[1].VirtualKey(), true, DefaultKeyCombos[1].Modifiers());
    EXPECT_FALSE(pending.FindDuplicate());
}

TEST(WorkingLinks, AreNeverEmptyAndKeepOneEntrySelected) {
    TWorkingLinks links;
    EXPECT_EQ(links.Count(), 1);
    EXPECT_EQ(links.Selected(), 0);
    EXPECT_EQ(links.SelectedLink().Description, "");

    links.Assign({Custom("a")});
    EXPECT_TRUE(links.DeleteSelected());
    ASSERT_EQ(links.Count(), 1) << "the last link deleted leaves an empty one";
    EXPECT_EQ(links.SelectedLink().Description, "");
    EXPECT_FALSE(links.SelectedLink().Locked);

    links.Select(-3);
    EXPECT_EQ(links.Selected(), 0);
    links.Assign({Custom("a"), Custom("b")});
    links.Select(7);
    EXPECT_EQ(links.Selected(), 1);
}

TEST(WorkingLinks, AddDeleteAndMoveFollowTheSelection) {
    TWorkingLinks links;
    links.Reset();
    ASSERT_EQ(links.Count(), PredefinedLinkCount);
    links.Add();
    links.EditSelected("Mine", "http://mine/?w=", "&x");
    links.Add();
    links.EditSelected("Other", "", "");
    EXPECT_EQ(links.Selected(), 6);
    EXPECT_TRUE(links.CanMoveUp());
    EXPECT_FALSE(links.CanMoveDown());

    // Deleting inside the list selects the entry that moved into the place.
    links.Select(5);
    EXPECT_TRUE(links.DeleteSelected());
    EXPECT_EQ(links.Selected(), 5);
    EXPECT_EQ(links.SelectedLink().Description, "Other");
    // Deleting the last entry selects the new last one.
    EXPECT_TRUE(links.DeleteSelected());
    EXPECT_EQ(links.Selected(), 4);

    // Predefined links can be moved but not edited or deleted.
    links.Select(0);
    EXPECT_FALSE(links.CanMoveUp());
    EXPECT_FALSE(links.MoveSelected(-1));
    links.EditSelected("Changed", "", "");
    EXPECT_FALSE(links.DeleteSelected());
    EXPECT_TRUE(links.MoveSelected(+1));
    EXPECT_EQ(links.Selected(), 1);
    EXPECT_EQ(Descriptions(links)[0], PredefinedLinks[1].Description);
    EXPECT_EQ(Descriptions(links)[1], PredefinedLinks[0].Description);
    links.Select(4);
    EXPECT_FALSE(links.MoveSelected(+1));
    EXPECT_FALSE(links.MoveSelected(2));

    links.Reset();
    for (int i = 0; i < PredefinedLinkCount; ++i)
        EXPECT_TRUE(LinksIdentical(links.Links()[static_cast<size_t>(i)], PredefinedLinks[i]));
    EXPECT_EQ(links.Selected(), 0);
}

TEST(LinkValidation, RefusesBlankAndRepeatedDescriptionsOnly) {
    // Descriptions compare exactly: blanks, scripts and letter case in any alphabet count.
    EXPECT_FALSE(
        FindLinkProblem({Custom("A"), Custom("A "), Custom("\xCE\xB1"), Custom("Factorum"),
                         Custom("factorum"), Custom("\xCE\x9B\xCF\x8C"), Custom("\xCE\xBB\xCF\x8C")}));
    EXPECT_FALSE(FindLinkProblem({Custom("100% & more"), Custom(std::string(65536, 'x'))}));
    EXPECT_FALSE(FindLinkProblem({Custom(" x\t")}));

    for (const std::string& blank :
         {std::string(), std::string(" \t\r\n"), std::string("\x01\x7F", 2), std::string("\0\0", 2),
          std::string("\xC2\xA0\xE3\x80\x80\xE2\x80\x8B\xEF\xBB\xBF")}) { // invisible spaces, BOM
        const TLinkProblem problem = FindLinkProblem({Custom("a"), Custom(blank), Custom("c")});
        EXPECT_EQ(problem.Error, TLinkError::NoDescription);
        EXPECT_EQ(problem.Index, 1);
    }
    // Entries are checked in order, each against all later ones: an earlier entry's twin is found
    // before a blank that lies between them.
    EXPECT_EQ(FindLinkProblem({Custom("a"), Custom(""), Custom("a")}).Error,
              TLinkError::DuplicateDescription);
    // Bytes that are not UTF-8 show as U+FFFD: text, not blanks.
    EXPECT_FALSE(IsBlankDescription("\xA0\xE9"));

    const TLinkProblem repeated =
        FindLinkProblem({Custom("x"), Custom("b"), Custom("c"), Custom("b"), Custom("x")});
    EXPECT_EQ(repeated.Error, TLinkError::DuplicateDescription);
    EXPECT_EQ(repeated.Index, 0);
}

TEST(DefaultLinkChoice, TakesTheLastEqualDescriptionElseTheFirstEntry) {
    const std::vector<TWebLink> links = {Custom("a"), Custom("b"), Custom("b")};
    EXPECT_EQ(ChooseDefaultLink(links, "b"), 2);
    EXPECT_EQ(ChooseDefaultLink(links, "a"), 0);
    EXPECT_EQ(ChooseDefaultLink(links, "B"), 0);
    EXPECT_EQ(ChooseDefaultLink(links, "gone"), 0);
    EXPECT_EQ(ChooseDefaultLink({}, "a"), -1);
}

TEST(UninstallCommand, EveryQuoteGoesAndArgumentsStay) {
    EXPECT_EQ(UninstallProgramPath("\"C:\\Program Files\\Wordlark\\unins000.exe\""),
              "C:\\Program Files\\Wordlark\\unins000.exe");
    EXPECT_EQ(UninstallProgramPath("\"C:\\a\"b\".exe\" /x"), "C:\\ab.exe /x");
    EXPECT_EQ(UninstallProgramPath("\"\""), "");
}

TEST(UninstallCommand, TheRunningCopysOwnEntryWinsElseTheFirstThatNamesAnUninstaller) {
    const std::vector<TUninstallEntry> entries = {
        {"C:\\Program Files\\Wordlark", "\"C:\\Program Files\\Wordlark\\Uninstall.exe\""},
        {"C:\\Users\\ann\\AppData\\Local\\Programs\\Wordlark", "user"}};
    EXPECT_EQ(ChooseUninstallCommand(entries, "c:\\users\\ANN\\AppData\\Local\\Programs\\Wordlark\\"),
              "user");
    EXPECT_EQ(ChooseUninstallCommand(entries, "C:\\Program Files\\Wordlark\\"), entries[0].UninstallString);
    // A portable copy, or one whose entry lost its location.
    EXPECT_EQ(ChooseUninstallCommand(entries, "E:\\Wordlark\\"), entries[0].UninstallString);
    EXPECT_EQ(ChooseUninstallCommand({{"E:\\Wordlark", ""}, {"", "user"}}, "E:\\Wordlark\\"), "user");
    EXPECT_EQ(ChooseUninstallCommand({{"", ""}, {"", ""}}, ""), "");
}

// What the registry may hold, from this version or any other hand: entries become the file names
// that are matched, and the page shows exactly those.
TEST(WorkingPrograms, StoredEntriesAreReadAsDistinctFileNamesWithinTheBound) {
    TWorkingPrograms programs;
    programs.Assign({L"C:\\Program Files\\Mozilla Firefox\\firefox.exe", L"FIREFOX.EXE", L"", L"C:\\Tools\\",
                     L"D:/bin/term.exe", L"\\\\server\\share\\ΛΕΞΙΚΟ.exe", L"λεξικο.EXE",
                     std::wstring(L"note\0pad.exe", 12), L"C:wide.exe",
                     std::wstring(MaxProgramEntryLength + 1, L'a'),
                     std::wstring(MaxProgramEntryLength - 10, L'\\') + L"deep.exe",
                     std::wstring(MaxProgramNameLength + 1, L'n')});
    EXPECT_EQ(programs.Names(), (std::vector<std::wstring>{L"firefox.exe", L"term.exe", L"ΛΕΞΙΚΟ.exe",
                                                           L"note", L"wide.exe", L"deep.exe"}));

    std::vector<std::wstring> many;
    for (int i = 0; i < MaxListedPrograms + 5; ++i)
        many.push_back(L"C:\\p\\" + std::to_wstring(i) + L".exe");
    programs.Assign(many);
    EXPECT_EQ(programs.Names().size(), static_cast<std::size_t>(MaxListedPrograms));
    EXPECT_EQ(programs.Add({L"TERM.exe", L"1.EXE"}), 1) << "a listed name is no refusal";
}

TEST(WorkingPrograms, RemovedEntriesGoInAnyOrderAndMayBeAddedAgain) {
    TWorkingPrograms programs;
    EXPECT_EQ(programs.Add({L"C:\\a.exe", L"b.exe", L"c.exe", L"d.exe"}), 0);
    programs.Remove({3, 1, 1, -1, 9});
    EXPECT_EQ(programs.Names(), (std::vector<std::wstring>{L"a.exe", L"c.exe"}));
    EXPECT_EQ(programs.Add({L"D.exe", L"A.EXE"}), 0);
    EXPECT_EQ(programs.Names(), (std::vector<std::wstring>{L"a.exe", L"c.exe", L"D.exe"}));
}

namespace {

// Made-up dictionary files: a path is a dictionary, named after the path, unless it holds "bad";
// opens are counted, and the files change or one goes away when the test says so.
struct TFakeDictionaryFiles : TDictionaryFiles {
    bool Stamp(const std::wstring& path, TFileStamp& stamp) override {
        stamp.WriteTime = Changes;
        return path != Gone;
    }
    TDictionaryFacts Open(const std::wstring& path) override {
        ++Opens;
        const bool bad = path.find(L"bad") != std::wstring::npos;
        return {!bad, Utf8FromUtf16(path), path.size(), bad ? "Damaged." : ""};
    }
    int Opens = 0;
    std::uint64_t Changes = 0;
    std::wstring Gone;
};

std::vector<std::string> Names(const TWorkingDictionaries& list) {
    std::vector<std::string> names;
    for (const TListedDictionary& entry : list.Entries())
        names.push_back(entry.Missing ? "(missing)" : entry.Name);
    return names;
}

} // namespace

TEST(WorkingDictionaries, AddRefusesUnreadableFilesListsEachPathOnceMovesAndReopensOnlyChangedFiles) {
    TFakeDictionaryFiles files;
    TWorkingDictionaries list(3);
    TDictionaryAddResult added = list.Add(
        {L"C:\\Dicts\\wn.index", L"c:/DICTS/WN.INDEX", L"D:\\bad.ifo", L"D:\\Λέξεις.ifo", L"D:\\ΛΈΞΕΙΣ.IFO"},
        files);
    EXPECT_EQ(added.Added, 2);
    ASSERT_EQ(added.Refused.size(), 1u);
    EXPECT_EQ(added.Refused[0].Path + Utf16FromUtf8(added.Refused[0].Error), L"D:\\bad.ifoDamaged.");
    EXPECT_EQ(files.Opens, 3) << "a listed path is not opened again";
    added = list.Add({L"E:\\a.ifo", L"E:\\b.ifo"}, files);
    EXPECT_EQ(std::make_pair(added.Added, added.TooMany), std::make_pair(1, 1));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"C:\\Dicts\\wn.index", "D:\\Λέξεις.ifo", "E:\\a.ifo"}));
    EXPECT_EQ(list.Entries()[0].HeadwordCount, 17u);

    // Stored entries: empty ones, repeats, what follows a NUL and those beyond the bound are left out.
    list.Assign({L"", L"x.ifo", L"X.IFO", std::wstring(L"y.index\0junk", 12), L"z.ifo", L"w.ifo"});
    EXPECT_EQ(list.Paths(), (std::vector<std::wstring>{L"x.ifo", L"y.index", L"z.ifo"}));

    // Moves stop at the ends. Shown again, an unchanged file is not opened again; one that is gone
    // is missing and stays listed.
    files.Opens = 0;
    list.Assign({L"a.ifo", L"b.index", L"c.ifo"});
    list.Describe(files);
    EXPECT_FALSE(list.Move(0, -1) || list.Move(2, +1) || list.Move(-1, +1));
    EXPECT_TRUE(list.Move(2, -1) && list.Move(1, -1));
    list.Remove(1);
    list.Remove(7);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"c.ifo", "b.index"}));

    list.Assign({L"A.IFO", L"b.index", L"c.ifo"});
    list.Describe(files);
    EXPECT_EQ(files.Opens, 3);
    files.Changes = 1;
    files.Gone = L"c.ifo";
    list.Assign(list.Paths());
    list.Describe(files);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"A.IFO", "b.index", "(missing)"}));
    files.Gone.clear();
    list.Assign(list.Paths());
    list.Describe(files);
    EXPECT_EQ(files.Opens, 6);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"A.IFO", "b.index", "c.ifo"}));
}
