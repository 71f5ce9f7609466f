// The registry half of ASettings: the options, the web links with the predefined ones merged in,
// and the default link. Nothing is cached; the registry is the state.
#include "Settings.h"

#include "SimpleReg.h"

#include <cstdio>

namespace {

// "Link%.2d" + field: at least two digits, no upper limit.
std::string LinkValueName(int index, const char* field) {
    char name[48];
    std::snprintf(name, sizeof name, "Link%.2d%s", index, field);
    return name;
}

} // namespace

bool ASettings::GetOpenInNewBrowser() {
    return ASimpleReg::ReadBool(GeneralKey, "OpenInNewBrowser", true);
}

void ASettings::SetOpenInNewBrowser(bool value) {
    ASimpleReg::WriteBool(GeneralKey, "OpenInNewBrowser", value);
}

// A negative count can only come from a damaged value; it stands for an empty list.
int ASettings::ReadLinkCount() {
    const int count = ASimpleReg::ReadInteger(LinksKey, "LinkCount", 0);
    return count < 0 ? 0 : count;
}

void ASettings::SetLinkCount(int count) {
    ASimpleReg::WriteInteger(LinksKey, "LinkCount", count);
}

int ASettings::GetLinkCount() {
    AddPredefinedLinks();
    return ReadLinkCount();
}

TWebLink ASettings::ReadLink(int index) {
    TWebLink link;
    link.Description = ASimpleReg::ReadString(LinksKey, LinkValueName(index, "Desc").c_str());
    link.UrlBefore = ASimpleReg::ReadString(LinksKey, LinkValueName(index, "UrlBefore").c_str());
    link.UrlAfter = ASimpleReg::ReadString(LinksKey, LinkValueName(index, "UrlAfter").c_str());
    link.Locked = ASimpleReg::ReadString(LinksKey, LinkValueName(index, "Locked").c_str()) == LockedTexts[1];
    return link;
}

void ASettings::WriteLink(int index, const TWebLink& link) {
    ASimpleReg::WriteString(LinksKey, LinkValueName(index, "Desc").c_str(), link.Description);
    ASimpleReg::WriteString(LinksKey, LinkValueName(index, "UrlBefore").c_str(), link.UrlBefore);
    ASimpleReg::WriteString(LinksKey, LinkValueName(index, "UrlAfter").c_str(), link.UrlAfter);
    ASimpleReg::WriteString(LinksKey, LinkValueName(index, "Locked").c_str(),
                            LockedTexts[link.Locked ? 1 : 0]);
}

// A list of the user's own links only (nothing locked yet) that holds the old search link gets
// the predefined web search link in its place; once anything is locked this does nothing.
void ASettings::ReplaceOldSearchLink() {
    const int count = ReadLinkCount();
    int position = -1;
    bool anyLocked = false;
    for (int i = 0; i < count; ++i) {
        const TWebLink link = ReadLink(i);
        if (LinksIdentical(link, OldSearchLink))
            position = i;
        if (link.Locked)
            anyLocked = true;
    }
    if (position >= 0 && !anyLocked)
        WriteLink(position, PredefinedLinks[3]);
}

// Every predefined link is in the list: found as it is, locked in place where an unlocked copy
// exists, or appended. The user may reorder them but not remove them for good.
void ASettings::AddPredefinedLinks() {
    ReplaceOldSearchLink();
    int count = ReadLinkCount();
    for (const TWebLink& predefined : PredefinedLinks) {
        bool found = false;
        for (int i = 0; i < count && !found; ++i)
            found = LinksIdentical(ReadLink(i), predefined);
        for (int i = 0; i < count && !found; ++i) {
            if (LinksEqual(ReadLink(i), predefined)) {
                WriteLink(i, predefined);
                found = true;
            }
        }
        if (!found)
            WriteLink(count++, predefined);
    }
    SetLinkCount(count);
}

std::string ASettings::GetDefaultLink() {
    const std::string fallback = GetLinkCount() > 0 ? ReadLink(0).Description : std::string();
    return ASimpleReg::ReadString(LinksKey, "DefaultLink", fallback);
}

void ASettings::SetDefaultLink(const std::string& description) {
    ASimpleReg::WriteString(LinksKey, "DefaultLink", description);
}
