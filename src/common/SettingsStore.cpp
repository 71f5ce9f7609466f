// The registry half of ASettings: the options, the web links with the predefined ones merged in,
// and the default link. Nothing is cached; the registry is the state. The links' texts are read
// and written with the W functions, so that a description or address in any script survives.
#include "Settings.h"

#include "Errors.h"
#include "ProgramNames.h"
#include "SimpleReg.h"
#include "UnicodeText.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

[[noreturn]] void RaiseWriteError(const char* valueName) {
    throw TWordlarkError(FormatNamed("Failed to set data for '%s'", valueName));
}

std::wstring ListValueName(const wchar_t* prefix, DWORD index) {
    return prefix + std::to_wstring(index);
}

// The stored count, or 0 when there is none that reads as a count.
DWORD ReadListCount(HKEY key, const wchar_t* countName) {
    DWORD count = 0, type = 0, size = sizeof count;
    if (RegQueryValueExW(key, countName, nullptr, &type, reinterpret_cast<BYTE*>(&count), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof count)
        return 0;
    return count;
}

// "Link%.2d" + field: at least two digits, no upper limit.
std::string LinkValueName(int index, const char* field) {
    char name[48];
    std::snprintf(name, sizeof name, "Link%.2d%s", index, field);
    return name;
}

// Links of earlier versions have no encoding. A value that cannot be read (another type, say) is
// the code page too rather than an error: the value only ever adds UTF-8 to a link.
TLinkEncoding ReadLinkEncoding(int index) {
    try {
        return LinkEncodingFromText(
            ASimpleReg::ReadString(LinksKey, LinkValueName(index, "Encoding").c_str()));
    } catch (const TWordlarkError&) {
        return TLinkEncoding::CodePage;
    }
}

} // namespace

bool ASettings::GetOpenInNewBrowser() {
    return ASimpleReg::ReadBool(GeneralKey, "OpenInNewBrowser", true);
}

void ASettings::SetOpenInNewBrowser(bool value) {
    ASimpleReg::WriteBool(GeneralKey, "OpenInNewBrowser", value);
}

// A damaged count must not make every lookup read the registry billions of times: it is never taken
// as larger than the number of links that the values under the key can describe (each stored link
// has at least four values), so the work is bounded by what the registry holds. A negative count
// stands for an empty list.
int ASettings::ReadLinkCount() {
    const int count = ASimpleReg::ReadInteger(LinksKey, "LinkCount", 0);
    if (count <= 0)
        return 0;
    const std::uint32_t describable = ASimpleReg::CountValues(LinksKey) / 4;
    return static_cast<std::uint32_t>(count) > describable ? static_cast<int>(describable) : count;
}

void ASettings::SetLinkCount(int count) {
    ASimpleReg::WriteInteger(LinksKey, "LinkCount", count);
}

int ASettings::GetLinkCount() {
    AddPredefinedLinks();
    return ReadLinkCount();
}

std::vector<TWebLink> ASettings::GetLinks() {
    return AddPredefinedLinks();
}

TWebLink ASettings::ReadLink(int index) {
    TWebLink link;
    link.Description = ASimpleReg::ReadUnicodeString(LinksKey, LinkValueName(index, "Desc").c_str());
    link.UrlBefore = ASimpleReg::ReadUnicodeString(LinksKey, LinkValueName(index, "UrlBefore").c_str());
    link.UrlAfter = ASimpleReg::ReadUnicodeString(LinksKey, LinkValueName(index, "UrlAfter").c_str());
    link.Locked = ASimpleReg::ReadString(LinksKey, LinkValueName(index, "Locked").c_str()) == LockedTexts[1];
    link.Encoding = ReadLinkEncoding(index);
    return link;
}

void ASettings::WriteLink(int index, const TWebLink& link) {
    ASimpleReg::WriteUnicodeString(LinksKey, LinkValueName(index, "Desc").c_str(), link.Description);
    ASimpleReg::WriteUnicodeString(LinksKey, LinkValueName(index, "UrlBefore").c_str(), link.UrlBefore);
    ASimpleReg::WriteUnicodeString(LinksKey, LinkValueName(index, "UrlAfter").c_str(), link.UrlAfter);
    ASimpleReg::WriteString(LinksKey, LinkValueName(index, "Locked").c_str(),
                            LockedTexts[link.Locked ? 1 : 0]);
    // Written for every link, so that a link written in the place of another never inherits its encoding.
    ASimpleReg::WriteString(LinksKey, LinkValueName(index, "Encoding").c_str(),
                            EncodingTexts[link.Encoding == TLinkEncoding::Utf8 ? 1 : 0]);
}

// A list of the user's own links only (nothing locked yet) that holds the old search link gets
// the predefined web search link in its place; once anything is locked this does nothing.
void ASettings::ReplaceOldSearchLink(std::vector<TWebLink>& links) {
    int position = -1;
    bool anyLocked = false;
    for (std::size_t i = 0; i < links.size(); ++i) {
        if (LinksIdentical(links[i], OldSearchLink))
            position = static_cast<int>(i);
        anyLocked = anyLocked || links[i].Locked;
    }
    if (position >= 0 && !anyLocked) {
        WriteLink(position, PredefinedLinks[3]);
        links[static_cast<std::size_t>(position)] = PredefinedLinks[3];
    }
}

// Every predefined link is in the list: found as it is, locked in place where an unlocked copy
// exists, or appended. The user may reorder them but not remove them for good. The stored list is
// read once; the steps work on that copy and write each change through at once. Returns the copy,
// which is then what the registry holds, so that callers need not read the list a second time.
std::vector<TWebLink> ASettings::AddPredefinedLinks() {
    std::vector<TWebLink> links(static_cast<std::size_t>(ReadLinkCount()));
    for (std::size_t i = 0; i < links.size(); ++i)
        links[i] = ReadLink(static_cast<int>(i));
    ReplaceOldSearchLink(links);
    for (const TWebLink& predefined : PredefinedLinks) {
        auto found = std::find_if(links.begin(), links.end(),
                                  [&](const TWebLink& link) { return LinksIdentical(link, predefined); });
        if (found == links.end()) {
            found = std::find_if(links.begin(), links.end(),
                                 [&](const TWebLink& link) { return LinksEqual(link, predefined); });
            if (found != links.end()) {
                WriteLink(static_cast<int>(found - links.begin()), predefined);
                *found = predefined;
            }
        }
        if (found == links.end()) {
            WriteLink(static_cast<int>(links.size()), predefined);
            links.push_back(predefined);
        }
    }
    SetLinkCount(static_cast<int>(links.size()));
    return links;
}

std::string ASettings::GetDefaultLink() {
    const std::vector<TWebLink> links = GetLinks();
    const std::string fallback = links.empty() ? std::string() : links[0].Description;
    return ASimpleReg::ReadUnicodeString(LinksKey, "DefaultLink", fallback);
}

void ASettings::SetDefaultLink(const std::string& description) {
    ASimpleReg::WriteUnicodeString(LinksKey, "DefaultLink", description);
}

namespace {

// A list of texts in the programs' style: "<Count>" (REG_DWORD) and "<Prefix>0", "<Prefix>1", ...
// (REG_SZ). Read without raising: an entry that cannot be read, of another type or too large is left
// out (as the hook library leaves a program out), and a count above `most` reads as `most`.
std::vector<std::wstring> ReadTextList(const char* keyName, const wchar_t* countName, const wchar_t* prefix,
                                       DWORD most) {
    std::vector<std::wstring> entries;
    TRegKey key;
    if (!OpenForReading(key, HKEY_CURRENT_USER, keyName))
        return entries;
    const DWORD count = std::min<DWORD>(ReadListCount(key.Get(), countName), most);
    std::vector<wchar_t> buffer(MaxProgramEntryBytes / sizeof(wchar_t));
    for (DWORD index = 0; index < count; ++index) {
        DWORD type = 0, size = static_cast<DWORD>(MaxProgramEntryBytes);
        if (RegQueryValueExW(key.Get(), ListValueName(prefix, index).c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(buffer.data()), &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ))
            // The text up to its first NUL: the terminator, or one stored inside by another hand.
            entries.emplace_back(buffer.data(), Utf16CutLength(buffer.data(), size / sizeof(wchar_t),
                                                               MaxProgramEntryBytes / sizeof(wchar_t)));
    }
    return entries;
}

// Values beyond a shorter new count are deleted.
void WriteTextList(const char* keyName, const wchar_t* countName, const wchar_t* prefix, DWORD most,
                   const std::vector<std::wstring>& entries) {
    const std::string countNameA = Utf8FromUtf16(countName), prefixA = Utf8FromUtf16(prefix);
    TRegKey key;
    if (!key.Create(HKEY_CURRENT_USER, keyName, KEY_ALL_ACCESS))
        RaiseWriteError(countNameA.c_str());
    const DWORD before = std::min<DWORD>(ReadListCount(key.Get(), countName), most);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (RegSetValueExW(key.Get(), ListValueName(prefix, static_cast<DWORD>(i)).c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(entries[i].c_str()),
                           static_cast<DWORD>((entries[i].size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
            RaiseWriteError(prefixA.c_str());
    const DWORD count = static_cast<DWORD>(entries.size());
    if (RegSetValueExW(key.Get(), countName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count),
                       sizeof count) != ERROR_SUCCESS)
        RaiseWriteError(countNameA.c_str());
    for (DWORD index = count; index < before; ++index)
        RegDeleteValueW(key.Get(), ListValueName(prefix, index).c_str());
}

} // namespace

std::vector<std::wstring> ASettings::GetPrograms() {
    return ReadTextList(ProgramsKey, L"ProgramCount", L"Program", MaxListedPrograms);
}

void ASettings::SetPrograms(const std::vector<std::wstring>& names) {
    WriteTextList(ProgramsKey, L"ProgramCount", L"Program", MaxListedPrograms, names);
}

std::vector<std::wstring> ASettings::GetDictionaries() {
    return ReadTextList(DictionariesKey, L"DictionaryCount", L"Dictionary", MaxListedDictionaries);
}

void ASettings::SetDictionaries(const std::vector<std::wstring>& paths) {
    WriteTextList(DictionariesKey, L"DictionaryCount", L"Dictionary", MaxListedDictionaries, paths);
}

bool ASettings::HasDictionaryList() {
    TRegKey key;
    return OpenForReading(key, HKEY_CURRENT_USER, DictionariesKey);
}
