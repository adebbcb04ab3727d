#include "TextWrapping.h"

namespace {

// Where the next UTF-8 character begins: continuation bytes are not cut from their character.
size_t nextCharacter(std::string_view text, size_t at) {
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) {
        ++at;
    }
    return at;
}

void wrapParagraph(std::string_view paragraph, float width,
                   const std::function<float(std::string_view)>& widthOf,
                   std::vector<std::string>& lines) {
    std::string line;
    size_t start = 0;
    while (start <= paragraph.size()) {
        size_t end = paragraph.find(' ', start);
        if (end == std::string_view::npos) {
            end = paragraph.size();
        }
        std::string_view word = paragraph.substr(start, end - start);
        start = end + 1;
        const std::string joined =
            line.empty() ? std::string(word) : line + ' ' + std::string(word);
        if (widthOf(joined) <= width) {
            line = joined;
            continue;
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
        // Too wide for a line of its own: as many characters as fit, and at least one.
        while (widthOf(word) > width) {
            size_t cut = nextCharacter(word, 0);
            for (size_t next = nextCharacter(word, cut);
                 next <= word.size() && widthOf(word.substr(0, next)) <= width;
                 next = nextCharacter(word, next)) {
                cut = next;
            }
            if (cut == word.size()) {
                break; // a last character wider than a line stands alone
            }
            lines.emplace_back(word.substr(0, cut));
            word.remove_prefix(cut);
        }
        line = word;
    }
    lines.push_back(line);
}

} // namespace

std::vector<std::string> wrapText(std::string_view text, float width,
                                  const std::function<float(std::string_view)>& widthOf) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        wrapParagraph(text.substr(start, end - start), width, widthOf, lines);
        start = end + 1;
    }
    return lines;
}
