// A lookup from the link list to a started browser, through the real registry and shell. A stub
// browser records its arguments; the command registered for "http" decides how it is started.
#include <gtest/gtest.h>

#include <thread>

#include "Settings.h"
#include "SimpleReg.h"
#include "TestSupport.h"
#include "WinHandles.h"
#include "lookup/LookupEngine.h"

using namespace TestSupport;

namespace {

constexpr const char* HttpCommandKey = "HTTP\\shell\\open\\command";
// A scheme of our own: the shell starts its registered command only when it opens a URL itself.
constexpr const char* ProbeScheme = "wordlarkprobe";

bool ReadDefaultValue(const char* keyPath, std::string& value) {
    TRegKey key;
    char data[2048];
    DWORD size = sizeof data, type = 0;
    if (!key.Open(HKEY_CLASSES_ROOT, keyPath, KEY_READ) ||
        RegQueryValueExA(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
            ERROR_SUCCESS)
        return false;
    value.assign(data, size ? size - 1 : 0);
    return true;
}

void WriteDefaultValue(const char* keyPath, const std::string& value) {
    TRegKey key;
    ASSERT_TRUE(key.Create(HKEY_CLASSES_ROOT, keyPath, KEY_SET_VALUE));
    ASSERT_EQ(RegSetValueExA(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1)),
              ERROR_SUCCESS);
}

void DeleteDefaultValue(const char* keyPath) {
    TRegKey key;
    if (key.Open(HKEY_CLASSES_ROOT, keyPath, KEY_SET_VALUE))
        RegDeleteValueA(key.Get(), nullptr);
}

} // namespace

class BrowserLaunch : public ::testing::Test {
protected:
    void SetUp() override {
        ClearProgramRegistry();
        HadHttpCommand = ReadDefaultValue(HttpCommandKey, SavedHttpCommand);
        Log = TempFile("browser");
        Stub = BuildFile("StubBrowser.exe");
    }
    void TearDown() override {
        if (HadHttpCommand)
            WriteDefaultValue(HttpCommandKey, SavedHttpCommand);
        else
            DeleteDefaultValue(HttpCommandKey);
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ProbeScheme);
        ClearProgramRegistry();
        DeleteFileA(Log.c_str());
        if (!Copy.empty())
            DeleteFileA(Copy.c_str());
    }

    // The stub as a registered command: it logs the marker and then its remaining arguments.
    std::string StubCommand(const std::string& program, const std::string& marker, const std::string& url) {
        return "\"" + program + "\" \"" + Log + "\" " + marker + " " + url;
    }
    void RegisterProbeScheme() {
        WriteDefaultValue((std::string(ProbeScheme) + "\\shell\\open\\command").c_str(),
                          StubCommand(Stub, "shell", "\"%1\""));
        TRegKey key;
        ASSERT_TRUE(key.Open(HKEY_CLASSES_ROOT, ProbeScheme, KEY_SET_VALUE));
        RegSetValueExA(key.Get(), "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    }
    void AddProbeLink() {
        const int count = ASettings::GetLinkCount();
        ASettings::WriteLink(count, TWebLink{"Probe", std::string(ProbeScheme) + ":find?q=", "&x=1", false});
        ASettings::SetLinkCount(count + 1);
    }

    // The arguments of the one stub start that the lookup caused, then the log is emptied.
    std::vector<std::string> Lookup(const std::string& text, const std::string& description) {
        DeleteFileA(Log.c_str());
        Form.LookupText = text;
        Form.LookupOnWebLink(description);
        std::vector<std::string> lines;
        WaitUntil(
            [&] {
                lines = ReadLines(Log);
                return !lines.empty() && lines.back() == "end";
            },
            10000);
        PumpMessages(300); // a second start, if any, would show up here
        lines = ReadLines(Log);
        DeleteFileA(Log.c_str());
        return lines;
    }

    // The failure box of a lookup run on a second thread, since the box blocks its caller.
    std::string FailureBoxText(const std::string& text, const std::string& description) {
        Form.LookupText = text;
        std::thread lookup([&] { Form.LookupOnWebLink(description); });
        HWND box = WaitForMessageBox("Wordlark Link Failure", 15000);
        const std::string boxText = box ? MessageBoxText(box) : "(no message box)";
        if (box) {
            PressButton(box, IDOK);
            WaitUntil([&] { return !IsWindow(box); }, 5000);
        }
        lookup.join();
        return boxText;
    }

    // The lookup operations need no window: the form is never created.
    TLookupEngine Form;
    bool HadHttpCommand = false;
    std::string SavedHttpCommand;
    std::string Log, Stub, Copy;
};

TEST_F(BrowserLaunch, NewWindowPutsTheEncodedLookupInPlaceOfThePlaceholder) {
    WriteDefaultValue(HttpCommandKey, "  " + StubCommand(Stub, "new", "-url \"%1\" -again %1") + " ");
    const std::string url = "http://glossa.orvane.com/search?q=hello%20world&r=5";
    EXPECT_EQ(Lookup("hello world", "Glossa"),
              (std::vector<std::string>{"new", "-url", url, "-again", url, "end"}));

    // Without a placeholder the URL follows the parameters.
    WriteDefaultValue(HttpCommandKey, StubCommand(Stub, "new", ""));
    EXPECT_EQ(Lookup("R&D/2", "Synora"),
              (std::vector<std::string>{"new", "http://synora.orvane.com/search?q=R%26D%2F2&r=5", "end"}));
}

TEST_F(BrowserLaunch, TheShellOpensTheUrlItselfWhenTheOptionIsOffOrNoCommandIsRegistered) {
    RegisterProbeScheme();
    AddProbeLink();
    const std::string url = std::string(ProbeScheme) + ":find?q=a%20b&x=1";
    WriteDefaultValue(HttpCommandKey, StubCommand(Stub, "new", "%1"));
    EXPECT_EQ(Lookup("a b", "Probe"), (std::vector<std::string>{"new", url, "end"}));

    ASettings::SetOpenInNewBrowser(false);
    EXPECT_EQ(Lookup("a b", "Probe"), (std::vector<std::string>{"shell", url, "end"}));

    ASettings::SetOpenInNewBrowser(true);
    DeleteDefaultValue(HttpCommandKey);
    EXPECT_EQ(Lookup("a b", "Probe"), (std::vector<std::string>{"shell", url, "end"}));
}

TEST_F(BrowserLaunch, FirefoxInNewWindowModeGetsTheUrlWithoutHttp) {
    Copy = TempFile("FireFox");
    Copy.replace(Copy.size() - 4, 4, ".exe");
    ASSERT_TRUE(CopyFileA(Stub.c_str(), Copy.c_str(), FALSE));
    WriteDefaultValue(HttpCommandKey, StubCommand(Copy, "new", "%1"));
    EXPECT_EQ(Lookup("hello world", "Glossa"),
              (std::vector<std::string>{"new", "glossa.orvane.com/search?q=hello%20world&r=5", "end"}));

    // With the option off the shell opens the URL, prefix and all, with the same registered command.
    ASettings::SetOpenInNewBrowser(false);
    EXPECT_EQ(
        Lookup("hello world", "Glossa"),
        (std::vector<std::string>{"new", "http://glossa.orvane.com/search?q=hello%20world&r=5", "end"}));
}

TEST_F(BrowserLaunch, AFailedStartIsReportedOnceWithTheShellsCode) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string missing = std::string(temp) + "no-such-browser.exe";
    WriteDefaultValue(HttpCommandKey, "\"" + missing + "\" \"%1\"");
    // An unknown description falls back to the first link, which the message then names.
    EXPECT_EQ(FailureBoxText("word", "No Such Link"),
              "Failed to launch Glossa; please check browser settings.   (Error code = 2)");
    EXPECT_EQ(CountTopWindows("#32770", "Wordlark Link Failure"), 0);

    // A quote that is never closed leaves no program to start.
    WriteDefaultValue(HttpCommandKey, "\"" + Stub + " " + Log + " %1");
    EXPECT_EQ(FailureBoxText("word", "Synora"),
              "Failed to launch Synora; please check browser settings.   (Error code = 2)");
    EXPECT_TRUE(ReadLines(Log).empty());
}

TEST_F(BrowserLaunch, AWordThatIsNotAWebAddressStartsNothingAndIsReported) {
    const int count = ASettings::GetLinkCount();
    ASettings::WriteLink(count, TWebLink{"Bare", "", "", false});
    ASettings::SetLinkCount(count + 1);
    ASettings::SetOpenInNewBrowser(false);
    EXPECT_EQ(FailureBoxText("notepad", "Bare"), "Failed to launch Bare; \"notepad\" is not a web address.");
}

TEST_F(BrowserLaunch, TheUsersLatestChoiceOfBrowserComesFirstThenTheEarlierOneThenTheClassesCommand) {
    const std::string choices = "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\";
    const std::string url = "http://glossa.orvane.com/search?q=a&r=5";
    WriteDefaultValue("WordlarkLatest\\shell\\open\\command", StubCommand(Stub, "latest", "%1"));
    WriteDefaultValue("WordlarkChoice\\shell\\open\\command", StubCommand(Stub, "choice", "%1"));
    WriteDefaultValue(HttpCommandKey, StubCommand(Stub, "classes", "%1"));
    ASimpleReg::WriteString((choices + "UserChoiceLatest\\ProgId").c_str(), "ProgId", "WordlarkLatest");
    ASimpleReg::WriteString((choices + "UserChoice").c_str(), "ProgId", "WordlarkChoice");
    EXPECT_EQ(Lookup("a", "Glossa"), (std::vector<std::string>{"latest", url, "end"}));
    RegDeleteTreeA(HKEY_CURRENT_USER, (choices + "UserChoiceLatest").c_str());
    EXPECT_EQ(Lookup("a", "Glossa"), (std::vector<std::string>{"choice", url, "end"}));
    // A ProgId of the wrong type, and one whose command is blank, are passed over.
    ASimpleReg::WriteInteger((choices + "UserChoiceLatest\\ProgId").c_str(), "ProgId", 1);
    WriteDefaultValue("WordlarkChoice\\shell\\open\\command", " ");
    EXPECT_EQ(Lookup("a", "Glossa"), (std::vector<std::string>{"classes", url, "end"}));

    for (const char* key : {"UserChoiceLatest", "UserChoice"})
        RegDeleteTreeA(HKEY_CURRENT_USER, (choices + key).c_str());
    for (const char* key : {"WordlarkLatest", "WordlarkChoice"})
        RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
}

// A list as the code-page version wrote it (the A functions, no encoding value), then saved after a
// new UTF-8 link: each link reads as the same characters, is saved as the same bytes and sends what
// it always sent; the UTF-8 one sends ASCII.
TEST_F(BrowserLaunch, ACodePageListReadsBackIdenticalAndEachLinkSendsItsUrlInItsOwnEncoding) {
    WriteDefaultValue(HttpCommandKey, StubCommand(Stub, "new", "%1"));
    const std::vector<std::pair<std::string, std::string>> old = {
        {"Link00Desc", "Caf\xE9"},   {"Link00UrlBefore", "http://caf\xE9.example/\xE9?q="},
        {"Link00UrlAfter", "&\xFC"}, {"Link00Locked", "0"},
        {"Link01Desc", "??"},        {"Link01UrlBefore", "http://x.example/?q="},
        {"DefaultLink", "Caf\xE9"}};
    for (const auto& [name, bytes] : old)
        RegSetKeyValueA(HKEY_CURRENT_USER, LinksKey, name.c_str(), REG_SZ, bytes.c_str(),
                        static_cast<DWORD>(bytes.size() + 1));
    ASimpleReg::WriteInteger(LinksKey, "LinkCount", 2);
    std::vector<TWebLink> links = ASettings::GetLinks();
    ASSERT_EQ(links.size(), 7u);
    EXPECT_EQ(links[0].Description + links[0].UrlBefore + links[0].UrlAfter + links[1].Description,
              "Caf\xC3\xA9http://caf\xC3\xA9.example/\xC3\xA9?q=&\xC3\xBC??");
    EXPECT_EQ(ASettings::GetDefaultLink(), "Caf\xC3\xA9");
    const std::string cyrillic = "\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80"; // "primer"
    const std::string host =
        cyrillic + ".\xD0\xB8\xD1\x81\xD0\xBF\xD1\x8B\xD1\x82\xD0\xB0\xD0\xBD\xD0\xB8\xD0\xB5";
    links.insert(links.begin(),
                 TWebLink{cyrillic, "http://" + host + "/?q=", "&\xC3\xBC", false, TLinkEncoding::Utf8});
    ASettings::SetLinkCount(static_cast<int>(links.size()));
    for (size_t i = 0; i < links.size(); ++i)
        ASettings::WriteLink(static_cast<int>(i), links[i]);
    for (size_t i = 0; i < 3; ++i) // the old link 0 is link 1 now
        EXPECT_EQ(ASimpleReg::ReadString(LinksKey, ("Link01" + old[i].first.substr(6)).c_str()),
                  old[i].second);
    EXPECT_EQ(ASimpleReg::ReadString(LinksKey, "Link02Desc") +
                  ASimpleReg::ReadString(LinksKey, "Link01Encoding"),
              "??ANSI");

    EXPECT_EQ(Lookup("\xC3\xA9", "Caf\xC3\xA9"),
              (std::vector<std::string>{"new", "http://caf\xE9.example/\xE9?q=%E9&\xFC", "end"}));
    EXPECT_EQ(
        Lookup("\xC3\xA9", cyrillic),
        (std::vector<std::string>{"new", "http://xn--e1afmkfd.xn--80akhbyknj4f/?q=%C3%A9&%C3%BC", "end"}));
    // The failure box names the link as written; a scheme in Cyrillic is no web address once sent.
    ASettings::WriteLink(0, TWebLink{cyrillic, cyrillic + "://x?q=", "", false, TLinkEncoding::Utf8});
    EXPECT_EQ(FailureBoxText("a", cyrillic),
              "Failed to launch " + cyrillic +
                  "; \"%D0%BF%D1%80%D0%B8%D0%BC%D0%B5%D1%80://x?q=a\" is not a web address.");
}
