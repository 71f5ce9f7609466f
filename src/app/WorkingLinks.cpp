#include "WorkingLinks.h"

#include <algorithm>
#include <utility>

#include "UnicodeText.h"

namespace {

// What Add gives the user to fill in: today's web sites expect the word in UTF-8.
TWebLink NewCustomLink() {
    TWebLink link;
    link.Encoding = TLinkEncoding::Utf8;
    return link;
}

} // namespace

void TWorkingLinks::Assign(std::vector<TWebLink> links) {
    Entries = std::move(links);
    if (Entries.empty())
        Entries.push_back(NewCustomLink());
    SelectedIndex = 0;
}

void TWorkingLinks::Reset() {
    Assign(std::vector<TWebLink>(PredefinedLinks, PredefinedLinks + PredefinedLinkCount));
}

void TWorkingLinks::Select(int index) {
    SelectedIndex = std::clamp(index, 0, Count() - 1);
}

void TWorkingLinks::EditSelected(const std::string& description, const std::string& urlBefore,
                                 const std::string& urlAfter) {
    TWebLink& link = Entries[static_cast<size_t>(SelectedIndex)];
    if (link.Locked)
        return;
    link.Description = description;
    link.UrlBefore = urlBefore;
    link.UrlAfter = urlAfter;
}

void TWorkingLinks::SetSelectedEncoding(TLinkEncoding encoding) {
    TWebLink& link = Entries[static_cast<size_t>(SelectedIndex)];
    if (!link.Locked)
        link.Encoding = encoding;
}

void TWorkingLinks::Add() {
    Entries.push_back(NewCustomLink());
    SelectedIndex = Count() - 1;
}

bool TWorkingLinks::DeleteSelected() {
    if (SelectedLink().Locked)
        return false;
    Entries.erase(Entries.begin() + SelectedIndex);
    if (Entries.empty())
        Entries.push_back(NewCustomLink());
    Select(SelectedIndex);
    return true;
}

bool TWorkingLinks::MoveSelected(int delta) {
    const int target = SelectedIndex + delta;
    if ((delta != -1 && delta != 1) || target < 0 || target >= Count())
        return false;
    std::swap(Entries[static_cast<size_t>(SelectedIndex)], Entries[static_cast<size_t>(target)]);
    SelectedIndex = target;
    return true;
}

bool IsBlankDescription(const std::string& description) {
    for (std::size_t at = 0, length = 0; at < description.size(); at += length)
        if (!IsInvisible(DecodeUtf8(description, at, length)))
            return false;
    return true;
}

// Descriptions compare exactly as stored: settings of earlier versions may hold two that differ
// only in letter case or by a blank, and must still save as they are.
TLinkProblem FindLinkProblem(const std::vector<TWebLink>& links) {
    for (size_t i = 0; i < links.size(); ++i) {
        if (IsBlankDescription(links[i].Description))
            return {TLinkError::NoDescription, static_cast<int>(i)};
        for (size_t j = i + 1; j < links.size(); ++j)
            if (links[j].Description == links[i].Description)
                return {TLinkError::DuplicateDescription, static_cast<int>(i)};
    }
    return {};
}

int ChooseDefaultLink(const std::vector<TWebLink>& links, const std::string& preferred) {
    for (size_t i = links.size(); i-- > 0;)
        if (links[i].Description == preferred)
            return static_cast<int>(i);
    return links.empty() ? -1 : 0;
}
