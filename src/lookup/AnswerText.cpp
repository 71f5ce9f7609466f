#include "AnswerText.h"

#include <algorithm>
#include <set>

#include "common/UnicodeText.h"
#include "dict/MarkupText.h"

namespace {

bool IsLineBlank(char c) {
    return c == ' ' || c == '\t';
}

// The lines of a text whatever ends them (CR LF, LF or CR), joined by CR LF, each without its
// trailing blanks, and without blank lines at either end.
std::string NormalisedLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    for (std::string& line : lines)
        while (!line.empty() && IsLineBlank(line.back()))
            line.pop_back();
    const auto isEmpty = [](const std::string& line) { return line.empty(); };
    lines.erase(lines.begin(), std::find_if_not(lines.begin(), lines.end(), isEmpty));
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    std::string joined;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        if (n)
            joined += "\r\n";
        joined += lines[n];
    }
    return joined;
}

// Cuts `text` to at most `room` bytes at the start of a UTF-8 character.
void CutAtCharacter(std::string& text, std::size_t room) {
    if (text.size() <= room)
        return;
    std::size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    text.resize(cut);
    text += "...";
}

// A link's target as the shown text spells it: its blanks and line ends one space each.
std::string CollapsedBlanks(std::string_view text) {
    std::string collapsed;
    for (const char c : text) {
        const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (!blank)
            collapsed += c;
        else if (!collapsed.empty() && collapsed.back() != ' ')
            collapsed += ' ';
    }
    while (!collapsed.empty() && collapsed.back() == ' ')
        collapsed.pop_back();
    return collapsed;
}

constexpr std::size_t MaxLinkTarget = 255;

// UTF-16 units of UTF-8 text as the text control counts them: CR LF is one.
std::size_t ControlUnits(std::string_view text) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) == 0x80 || (c == '\n' && i > 0 && text[i - 1] == '\r'))
            continue;
        units += c >= 0xF0 ? 2 : 1;
    }
    return units;
}

// Text for RTF: its specials escaped, a tab and a line end as their words, the rest of Unicode
// as \uN (signed 16-bit units, those beyond the BMP as two).
void AppendRtfText(std::string& rtf, const std::string& text, std::size_t from, std::size_t to) {
    for (std::size_t at = from, length = 0; at < to; at += length) {
        const char32_t c = DecodeUtf8(text, at, length);
        if (c == '\r' || c == '\n') {
            if (c == '\r' && at + 1 < to && text[at + 1] == '\n')
                ++length;
            rtf += "\\par ";
        } else if (c == '\t') {
            rtf += "\\tab ";
        } else if (c == '\\' || c == '{' || c == '}') {
            rtf += '\\';
            rtf += static_cast<char>(c);
        } else if (c < 0x80) {
            rtf += static_cast<char>(c);
        } else {
            const auto unit = [&](std::uint32_t value) {
                rtf += "\\u" + std::to_string(static_cast<std::int16_t>(static_cast<std::uint16_t>(value))) +
                       " ";
            };
            if (c >= 0x10000) {
                unit(0xD800 + ((c - 0x10000) >> 10));
                unit(0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
                unit(c);
            }
        }
    }
}

} // namespace

std::string AnswerRtf(const std::vector<TAnswerParagraph>& paragraphs, const std::string& face,
                      int halfPoints) {
    std::string rtf = "{\\rtf1\\ansi\\deff0\\uc0{\\fonttbl{\\f0\\fnil ";
    AppendRtfText(rtf, face, 0, face.size());
    rtf += ";}}{\\colortbl;\\red0\\green102\\blue204;}\\pard\\f0\\fs" + std::to_string(halfPoints) + " ";
    for (std::size_t n = 0; n < paragraphs.size(); ++n) {
        const TAnswerParagraph& paragraph = paragraphs[n];
        if (n)
            rtf += "\\par ";
        switch (paragraph.Style) {
        case TAnswerStyle::Heading:
            rtf += "{\\b\\fs" + std::to_string(halfPoints * 5 / 4) + " ";
            break;
        case TAnswerStyle::Headword:
            rtf += "{\\b ";
            break;
        case TAnswerStyle::Notice:
            rtf += "{\\i ";
            break;
        default:
            rtf += "{";
            break;
        }
        std::size_t at = 0;
        for (const TAnswerLink& link : paragraph.Links) {
            AppendRtfText(rtf, paragraph.Text, at, link.Start);
            rtf += "{\\ul\\cf1 ";
            AppendRtfText(rtf, paragraph.Text, link.Start, link.End);
            rtf += "}";
            at = link.End;
        }
        AppendRtfText(rtf, paragraph.Text, at, paragraph.Text.size());
        rtf += "}";
    }
    return rtf + "}";
}

std::vector<TAnswerLink> TakeLinks(std::string& text) {
    std::vector<TAnswerLink> links;
    if (text.find(LinkOpen.substr(0, 2)) == std::string::npos)
        return links;
    std::string plain;
    plain.reserve(text.size());
    // Where the open link's target and shown text begin in `plain`; the target is cut out again.
    std::size_t open = std::string::npos, shown = std::string::npos;
    for (std::size_t at = 0; at < text.size();) {
        const std::string_view rest = std::string_view(text).substr(at);
        if (rest.compare(0, 3, LinkOpen) == 0) {
            if (open != std::string::npos && shown != std::string::npos)
                plain.erase(open, shown - open);
            open = plain.size();
            shown = std::string::npos;
        } else if (rest.compare(0, 3, LinkTarget) == 0) {
            if (open != std::string::npos && shown == std::string::npos)
                shown = plain.size();
        } else if (rest.compare(0, 3, LinkClose) == 0) {
            if (open != std::string::npos) {
                std::string target;
                if (shown != std::string::npos) {
                    target = CollapsedBlanks(std::string_view(plain).substr(open, shown - open));
                    plain.erase(open, shown - open);
                }
                const std::string_view shownText = std::string_view(plain).substr(open);
                if (target.empty())
                    target = CollapsedBlanks(shownText);
                if (!target.empty() && target.size() <= MaxLinkTarget && !CollapsedBlanks(shownText).empty())
                    links.push_back({open, plain.size(), std::move(target)});
            }
            open = shown = std::string::npos;
        } else {
            plain += text[at++];
            continue;
        }
        at += 3;
    }
    if (open != std::string::npos && shown != std::string::npos)
        plain.erase(open, shown - open);
    text = std::move(plain);
    return links;
}

std::vector<TAnswerLink> ControlLinks(const std::vector<TAnswerParagraph>& paragraphs) {
    std::vector<TAnswerLink> links;
    std::size_t base = 0;
    for (const TAnswerParagraph& paragraph : paragraphs) {
        std::size_t counted = 0, units = 0;
        for (const TAnswerLink& link : paragraph.Links) {
            units += ControlUnits(std::string_view(paragraph.Text).substr(counted, link.Start - counted));
            const std::size_t length =
                ControlUnits(std::string_view(paragraph.Text).substr(link.Start, link.End - link.Start));
            links.push_back({base + units, base + units + length, link.Target});
            units += length;
            counted = link.End;
        }
        base += units + ControlUnits(std::string_view(paragraph.Text).substr(counted)) + 1;
    }
    return links;
}

std::vector<std::string> MergeCloseWords(const std::vector<std::string>& edits,
                                         const std::vector<std::string>& longer, std::size_t limit) {
    std::vector<std::string> words;
    std::set<std::string> seen;
    for (const std::vector<std::string>* group : {&edits, &longer}) {
        std::vector<std::string> sorted = *group;
        std::stable_sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
            return FoldCase(a) < FoldCase(b);
        });
        for (const std::string& word : sorted)
            if (words.size() < limit && !CollapsedBlanks(word).empty() && seen.insert(FoldCase(word)).second)
                words.push_back(word);
    }
    return words;
}

std::vector<TAnswerParagraph> AnswerParagraphs(const std::vector<std::string>& notices,
                                               const std::vector<TDictionaryAnswer>& answers,
                                               const std::vector<std::string>& closeWords) {
    std::vector<TAnswerParagraph> paragraphs;
    std::size_t room = MaxAnswerBytes;
    const auto add = [&](TAnswerStyle style, std::string text) {
        if (room == 0)
            return;
        std::vector<TAnswerLink> links = TakeLinks(text);
        CutAtCharacter(text, room);
        while (!links.empty() && links.back().End > text.size())
            links.pop_back();
        room -= std::min(room, text.size() + 2);
        paragraphs.push_back({style, std::move(text), std::move(links)});
    };
    for (const std::string& notice : notices)
        add(TAnswerStyle::Notice, notice);
    std::string close;
    for (const std::string& word : closeWords)
        close += (close.empty() ? "" : "\r\n") + std::string(LinkOpen) + CollapsedBlanks(word) +
                 std::string(LinkClose);
    if (!close.empty())
        add(TAnswerStyle::Definition, close);
    for (const TDictionaryAnswer& answer : answers) {
        if (answer.Entries.empty())
            continue;
        if (!paragraphs.empty())
            add(TAnswerStyle::Gap, std::string());
        add(TAnswerStyle::Heading, answer.Name);
        for (std::size_t n = 0; n < answer.Entries.size(); ++n) {
            if (n)
                add(TAnswerStyle::Gap, std::string());
            add(TAnswerStyle::Headword, NormalisedLines(answer.Entries[n].Headword));
            std::string definition = NormalisedLines(answer.Entries[n].Text);
            if (!definition.empty())
                add(TAnswerStyle::Definition, std::move(definition));
        }
    }
    return paragraphs;
}

std::string AnswerPlainText(const std::vector<TAnswerParagraph>& paragraphs) {
    std::string text;
    for (std::size_t n = 0; n < paragraphs.size(); ++n) {
        if (n)
            text += "\r\n";
        text += paragraphs[n].Text;
    }
    return text;
}

std::string UnreadableNotice(const std::string& file) {
    return file + " could not be read.";
}

std::string NotFoundNotice(const std::string& text) {
    return "No dictionary has \"" + text + "\".";
}

void TAnswerHistory::Start(const std::string& word) {
    Items.assign(1, word);
    At = 0;
}

void TAnswerHistory::Add(const std::string& word) {
    if (!Items.empty() && Items[At] == word)
        return;
    if (!Items.empty())
        Items.erase(Items.begin() + static_cast<std::ptrdiff_t>(At) + 1, Items.end());
    Items.push_back(word);
    if (Items.size() > Limit)
        Items.erase(Items.begin(), Items.end() - static_cast<std::ptrdiff_t>(Limit));
    At = Items.size() - 1;
}

std::string TAnswerHistory::Back() {
    if (Items.empty() || At == 0)
        return std::string();
    return Items[--At];
}

std::string TAnswerHistory::Forward() {
    if (At + 1 >= Items.size())
        return std::string();
    return Items[++At];
}

int ZoomStep(int zoom, int direction) {
    static constexpr int Steps[] = {50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300};
    if (direction == 0)
        return NormalZoom;
    if (direction > 0) {
        for (const int step : Steps)
            if (step > zoom)
                return step;
        return MaxZoom;
    }
    for (auto step = std::rbegin(Steps); step != std::rend(Steps); ++step)
        if (*step < zoom)
            return *step;
    return MinZoom;
}

int StoredWindowSide(std::uint32_t pixels) {
    return pixels >= 100 && pixels <= 8192 ? static_cast<int>(pixels) : 0;
}

std::string FormsNotice(const std::string& word, const std::vector<std::string>& forms) {
    std::string notice = word + " \xE2\x86\x92 "; // U+2192, the arrow
    for (std::size_t n = 0; n < forms.size(); ++n)
        notice += (n ? ", " : "") + forms[n];
    return notice;
}

TScreenBox PlaceAnswerWindow(const TScreenBox& anchor, int width, int height, const TScreenBox& workArea) {
    width = std::max(0, std::min(width, workArea.Width()));
    height = std::max(0, std::min(height, workArea.Height()));
    int left = anchor.Left, top = anchor.Bottom;
    // Above the word when it does not fit below, as long as it fits there; else at the bottom.
    if (top + height > workArea.Bottom)
        top = anchor.Top - height >= workArea.Top ? anchor.Top - height : workArea.Bottom - height;
    left = std::max(workArea.Left, std::min(left, workArea.Right - width));
    top = std::max(workArea.Top, std::min(top, workArea.Bottom - height));
    return {left, top, left + width, top + height};
}
