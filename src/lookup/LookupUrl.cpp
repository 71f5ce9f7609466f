// The end of every lookup: the chosen link and the lookup text become a URL, which the shell hands
// to the browser. Nothing is kept between calls: links, the new-window option and the browser's
// command are read afresh each time, so saved changes count from the next lookup on.
#include "LookupEngine.h"

#include <shellapi.h>

#include "CodePageText.h"
#include "Errors.h"
#include "Settings.h"
#include "SimpleReg.h"
#include "UnicodeText.h"
#include "UrlText.h"
#include "WinApiHacks.h"

namespace {

constexpr const char* BrowserCommandKey = "HTTP\\shell\\open\\command";
// Where Windows keeps the user's own choice of browser: under "UserChoiceLatest\ProgId" on
// Windows 11 since 2025, under "UserChoice" before.
constexpr const char* HttpAssociationKey =
    "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\";
constexpr const char* UserChoiceKeys[] = {"UserChoiceLatest\\ProgId", "UserChoice"};

std::intptr_t ShellOpen(const std::string& file, const char* parameters) {
    return reinterpret_cast<std::intptr_t>(
        ShellExecuteA(nullptr, "open", file.c_str(), parameters, nullptr, SW_SHOWDEFAULT));
}

// The text is UTF-8: it names the link as the user wrote it.
void ShowLinkFailure(HWND window, const std::string& text) {
    ForceForegroundWindow(window);
    MessageBoxW(nullptr, Utf16FromUtf8(text).c_str(), Utf16FromUtf8(LaunchFailureCaption).c_str(),
                MB_OK | MB_ICONERROR);
}

// These keys belong to the system and other programs: a value of a type we cannot read counts as
// no value, like a missing one, rather than failing the lookup.
std::string ReadTrimmed(HKEY root, const std::string& keyPath, const char* valueName) {
    try {
        return TrimText(ASimpleReg::ReadString(root, keyPath.c_str(), valueName, ""));
    } catch (const TWordlarkError&) {
        return std::string();
    }
}

// The open command of the ProgId that the user chose under the given key, or empty.
std::string UserChoiceCommand(const char* choiceKey) {
    const std::string progId =
        ReadTrimmed(HKEY_CURRENT_USER, HttpAssociationKey + std::string(choiceKey), "ProgId");
    return progId.empty() ? std::string()
                          : ReadTrimmed(HKEY_CLASSES_ROOT, progId + "\\shell\\open\\command", "");
}

} // namespace

void TLookupEngine::LookupOnWebLink(const std::string& description) {
    // Without a match the link is the first of the list, and the failure message names that one.
    const std::vector<TWebLink> links = ASettings::GetLinks();
    const TWebLink link = FindWebLink(
        static_cast<int>(links.size()), [&](int i) { return links[static_cast<std::size_t>(i)]; },
        description);
    // Both URL parts go in the link's own encoding, like the text: a code-page link sends what it
    // always sent, a UTF-8 link plain ASCII.
    std::string url = LinkUrlPart(link.UrlBefore, link.Encoding) +
                      UrlEncode(LinkTextBytes(LookupText, link.Encoding)) +
                      LinkUrlPart(link.UrlAfter, link.Encoding);
    AddPredefinedSiteTag(url);
    LaunchUrl(link.Description, url);
}

void TLookupEngine::LaunchUrl(const std::string& description, const std::string& url) {
    // Without a web scheme the shell would take the URL for a file or a program: a link with empty
    // URL parts would start "notepad" when that word was selected.
    if (!IsWebAddress(url)) {
        ShowLinkFailure(Handle(), NotWebAddressText(description, Utf8FromAnsi(url)));
        return;
    }
    const bool newWindow = ASettings::GetOpenInNewBrowser();
    // This browser, given the URL as a parameter, wants it without the scheme.
    LaunchBrowser(newWindow && IsBrowserFirefox() ? WithoutHttpPrefix(url) : url, description, newWindow);
}

void TLookupEngine::LaunchBrowser(const std::string& url, const std::string& description, bool newWindow) {
    const std::string command = GetBrowserCommand();
    std::string program, parameters;
    SplitBrowserCommand(program, parameters);
    std::intptr_t result;
    if (newWindow && !command.empty()) {
        // The shell would open the working folder for an empty file name; a command whose quote is
        // never closed has no program, and its launch fails as "file not found".
        result =
            program.empty() ? SE_ERR_FNF : ShellOpen(program, BrowserParameters(parameters, url).c_str());
    } else {
        result = ShellOpen(url, nullptr);
    }
    if (!LaunchSucceeded(result))
        ShowLinkFailure(Handle(), LaunchFailureText(description, result));
}

void TLookupEngine::SplitBrowserCommand(std::string& program, std::string& parameters) {
    const TBrowserCommand split = SplitCommand(GetBrowserCommand());
    program = split.Program;
    parameters = split.Parameters;
}

std::string TLookupEngine::UrlEncode(const std::string& text) {
    return EncodeUrlText(text);
}

std::string TLookupEngine::GetBrowserCommand() {
    // Since Windows 8 the classes' "HTTP" command names the system's own browser on most machines,
    // whichever the user chose; it is only the last resort. A choice whose ProgId has no command is
    // passed over.
    for (const char* choiceKey : UserChoiceKeys) {
        std::string command = UserChoiceCommand(choiceKey);
        if (!command.empty())
            return command;
    }
    return ReadTrimmed(HKEY_CLASSES_ROOT, BrowserCommandKey, "");
}

bool TLookupEngine::IsBrowserFirefox() {
    return CommandIsFirefox(GetBrowserCommand());
}

void TLookupEngine::AddPredefinedSiteTag(std::string& url) {
    AddSiteTag(url);
}
