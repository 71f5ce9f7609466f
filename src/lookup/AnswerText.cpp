#include "AnswerText.h"

#include <algorithm>

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

} // namespace

std::vector<TAnswerParagraph> AnswerParagraphs(const std::vector<std::string>& notices,
                                               const std::vector<TDictionaryAnswer>& answers) {
    std::vector<TAnswerParagraph> paragraphs;
    std::size_t room = MaxAnswerBytes;
    const auto add = [&](TAnswerStyle style, std::string text) {
        if (room == 0)
            return;
        CutAtCharacter(text, room);
        room -= std::min(room, text.size() + 2);
        paragraphs.push_back({style, std::move(text)});
    };
    for (const std::string& notice : notices)
        add(TAnswerStyle::Notice, notice);
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
