// Markup to text. Inline tags (bold, spans, links) vanish; a line break tag or the end of a block
// (paragraph, list item, table row, heading) ends the line, a paragraph leaves an empty line.
// Newlines in the markup stay, since Pango, XDXF and most dictionary HTML mean them.
#include "dict/MarkupText.h"

#include <cstdint>

#include "common/UnicodeText.h"

namespace {

struct TNamedEntity {
    const char* Name;
    char32_t Character;
};
constexpr TNamedEntity NamedEntities[] = {
    {"amp", '&'},      {"lt", '<'},        {"gt", '>'},       {"quot", '"'},     {"apos", '\''},
    {"nbsp", 0xA0},    {"shy", 0xAD},      {"copy", 0xA9},    {"reg", 0xAE},     {"deg", 0xB0},
    {"middot", 0xB7},  {"laquo", 0xAB},    {"raquo", 0xBB},   {"times", 0xD7},   {"divide", 0xF7},
    {"ndash", 0x2013}, {"mdash", 0x2014},  {"lsquo", 0x2018}, {"rsquo", 0x2019}, {"ldquo", 0x201C},
    {"rdquo", 0x201D}, {"hellip", 0x2026}, {"bull", 0x2022},  {"sect", 0xA7},    {"para", 0xB6},
    {"eacute", 0xE9},  {"egrave", 0xE8},   {"ecirc", 0xEA},   {"agrave", 0xE0},  {"acirc", 0xE2},
    {"ccedil", 0xE7},  {"ouml", 0xF6},     {"uuml", 0xFC},    {"auml", 0xE4},    {"szlig", 0xDF},
    {"frac12", 0xBD},  {"frac14", 0xBC},   {"frac34", 0xBE},  {"prime", 0x2032}, {"larr", 0x2190},
    {"rarr", 0x2192},  {"harr", 0x2194},   {"trade", 0x2122}, {"euro", 0x20AC},  {"pound", 0xA3},
};

// The block elements of HTML and XDXF whose start or end ends a line.
constexpr std::string_view LineTags[] = {"div", "li",         "tr", "h1",  "h2", "h3", "h4",    "h5",
                                         "h6",  "ul",         "ol", "dl",  "dt", "dd", "table", "pre",
                                         "hr",  "blockquote", "ar", "def", "ex", "k",  "center"};

void AppendUtf8(std::string& text, char32_t c) {
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | c >> 6);
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | c >> 12);
        text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | c >> 18);
        text += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// The character an entity such as "eacute" or "#233" or "#xE9" names, or 0.
char32_t EntityCharacter(std::string_view name) {
    if (name.size() > 1 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        std::uint32_t value = 0;
        std::size_t digits = 0;
        for (std::size_t i = hex ? 2 : 1; i < name.size(); ++i, ++digits) {
            const char c = name[i];
            int digit = c >= '0' && c <= '9' ? c - '0' : -1;
            if (hex && digit < 0)
                digit = c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (digit < 0 || value > 0x10FFFF)
                return 0;
            value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
        }
        const bool valid = digits > 0 && value > 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
        return valid ? value : 0;
    }
    for (const TNamedEntity& entity : NamedEntities)
        if (name == entity.Name)
            return entity.Character;
    return 0;
}

void EndLine(std::string& text, std::size_t newlines) {
    std::size_t have = 0;
    while (have < text.size() && text[text.size() - 1 - have] == '\n')
        ++have;
    if (text.empty())
        return;
    for (; have < newlines; ++have)
        text += '\n';
}

// The value of attribute `name` (lower case) in a tag such as `a href="x"`, entities left as they
// are; empty when the tag has none.
std::string_view AttributeValue(std::string_view tag, std::string_view name) {
    for (std::size_t at = 0; (at = tag.find('=', at)) != std::string_view::npos; ++at) {
        std::size_t end = at;
        while (end > 0 && (tag[end - 1] == ' ' || tag[end - 1] == '\t'))
            --end;
        if (end < name.size() + 1)
            continue;
        const std::size_t start = end - name.size();
        bool same = tag[start - 1] == ' ' || tag[start - 1] == '\t' || tag[start - 1] == '\n';
        for (std::size_t i = 0; same && i < name.size(); ++i)
            same = AsciiLower(tag[start + i]) == name[i];
        if (!same)
            continue;
        std::size_t value = at + 1;
        while (value < tag.size() && (tag[value] == ' ' || tag[value] == '\t'))
            ++value;
        if (value < tag.size() && (tag[value] == '"' || tag[value] == '\'')) {
            const std::size_t close = tag.find(tag[value], value + 1);
            return tag.substr(value + 1,
                              close == std::string_view::npos ? std::string_view::npos : close - value - 1);
        }
        const std::size_t close = tag.find_first_of(" \t\n", value);
        return tag.substr(value, close == std::string_view::npos ? std::string_view::npos : close - value);
    }
    return std::string_view();
}

// The characters that mark links, when a text carries them of its own.
bool IsLinkMark(std::string_view text, std::size_t at) {
    return text.compare(at, 2, "\xEE\x80") == 0 && at + 2 < text.size() &&
           static_cast<unsigned char>(text[at + 2]) >= 0x80 &&
           static_cast<unsigned char>(text[at + 2]) <= 0x82;
}

// What a tag such as "br/", "/p" or "div class=x" does to the text; `inLink` is the element whose
// close ends the link being marked ("a" or "kref"), empty when none is.
void ApplyTag(std::string_view tag, std::string& text, std::string& inLink) {
    const bool closing = !tag.empty() && tag[0] == '/';
    std::size_t at = closing ? 1 : 0;
    std::string name;
    while (at < tag.size() && tag[at] != ' ' && tag[at] != '/' && tag[at] != '\t' && tag[at] != '\n')
        name += AsciiLower(tag[at++]);
    if (!inLink.empty() && closing && name == inLink) {
        text += LinkClose;
        inLink.clear();
        return;
    }
    if (inLink.empty() && !closing && name == "kref" && tag.back() != '/') {
        text += LinkOpen;
        inLink = name;
        return;
    }
    if (inLink.empty() && !closing && name == "a") {
        const std::string_view href = AttributeValue(tag, "href");
        constexpr std::string_view scheme = "bword://";
        bool word = href.size() > scheme.size();
        for (std::size_t i = 0; word && i < scheme.size(); ++i)
            word = AsciiLower(href[i]) == scheme[i];
        if (word) {
            text += LinkOpen;
            text += TextFromMarkup(href.substr(scheme.size()));
            text += LinkTarget;
            inLink = name;
        }
        return;
    }
    if (name == "br") {
        text += '\n';
    } else if (name == "p") {
        EndLine(text, 2);
    } else {
        for (const std::string_view line : LineTags)
            if (name == line) {
                EndLine(text, 1);
                break;
            }
    }
}

} // namespace

std::string TextFromMarkup(std::string_view markup) {
    std::string text, inLink;
    text.reserve(markup.size());
    for (std::size_t at = 0; at < markup.size();) {
        const char c = markup[at];
        if (c == '<' && markup.compare(at, 4, "<!--") == 0) {
            const std::size_t end = markup.find("-->", at + 4);
            at = end == std::string_view::npos ? markup.size() : end + 3;
        } else if (c == '<' && at + 1 < markup.size() &&
                   (markup[at + 1] == '/' || markup[at + 1] == '!' || markup[at + 1] == '?' ||
                    (AsciiLower(markup[at + 1]) >= 'a' && AsciiLower(markup[at + 1]) <= 'z'))) {
            const std::size_t end = markup.find('>', at);
            if (end == std::string_view::npos) {
                text += markup.substr(at);
                break;
            }
            ApplyTag(markup.substr(at + 1, end - at - 1), text, inLink);
            at = end + 1;
        } else if (c == '&') {
            const std::size_t end = markup.find(';', at);
            const char32_t named = end != std::string_view::npos && end - at <= 10
                                       ? EntityCharacter(markup.substr(at + 1, end - at - 1))
                                       : 0;
            if (named) {
                AppendUtf8(text, named);
                at = end + 1;
            } else {
                text += c;
                ++at;
            }
        } else if (IsLinkMark(markup, at)) {
            at += 3;
        } else {
            text += c;
            ++at;
        }
    }
    if (!inLink.empty())
        text += LinkClose;
    return text;
}

std::string MarkBracedLinks(std::string_view text) {
    std::string marked;
    marked.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t close = text[at] == '{' ? text.find_first_of("{}", at + 1) : std::string_view::npos;
        if (close != std::string_view::npos && text[close] == '}' && close > at + 1) {
            marked += LinkOpen;
            marked += text.substr(at + 1, close - at - 1);
            marked += LinkClose;
            at = close + 1;
        } else if (IsLinkMark(text, at)) {
            at += 3;
        } else {
            marked += text[at++];
        }
    }
    return marked;
}

std::string TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return std::string();
    return std::string(text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1));
}

bool IsUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            ++at;
            continue;
        }
        const std::size_t continuation = lead > 0xF4    ? 0
                                         : lead >= 0xF0 ? 3
                                         : lead >= 0xE0 ? 2
                                         : lead >= 0xC2 ? 1
                                                        : 0;
        if (continuation == 0 || at + continuation >= text.size())
            return false;
        char32_t c = lead & (0x3F >> continuation);
        for (std::size_t i = 1; i <= continuation; ++i) {
            const unsigned char next = static_cast<unsigned char>(text[at + i]);
            if ((next & 0xC0) != 0x80)
                return false;
            c = c << 6 | (next & 0x3F);
        }
        static const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
        if (c < smallest[continuation] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        at += continuation + 1;
    }
    return true;
}

std::string WellFormedUtf8(std::string_view text) {
    if (IsUtf8(text))
        return std::string(text);
    const std::string copy(text);
    std::string clean;
    clean.reserve(copy.size());
    for (std::size_t at = 0, length = 0; at < copy.size(); at += length)
        AppendUtf8(clean, DecodeUtf8(copy, at, length));
    return clean;
}
