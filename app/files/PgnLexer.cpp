#include "PgnLexer.h"

namespace {

using namespace pgn_bytes;

bool isSpace(char c) {
    return is(c, Space);
}
bool isDigit(char c) {
    return is(c, Digit);
}
bool isSymbolByte(char c) {
    return is(c, Symbol);
}

constexpr std::string_view ellipsis = "\xE2\x80\xA6"; // "…", which some programs write for "..."

// Marks that annotate a move or a position rather than being one: "!", "?!", "+-", "=", "+/-".
bool isAnnotationGlyph(std::string_view text) {
    if (text == "--") {
        return false; // a null move, which the reader refuses like any move it cannot play
    }
    return text.find_first_not_of("!?+-=/") == std::string_view::npos;
}

} // namespace

PgnLexer::PgnLexer(std::string_view text, size_t from) : text_(text), at_(from) {
    if (from == 0 && text_.starts_with("\xEF\xBB\xBF")) {
        at_ = 3; // a byte-order mark
    }
}

bool PgnLexer::atLineStart() const {
    return at_ == 0 || text_[at_ - 1] == '\n';
}

void PgnLexer::skipToLineEnd() {
    const size_t end = text_.find('\n', at_);
    at_ = end == std::string_view::npos ? text_.size() : end;
}

PgnToken PgnLexer::nextOther() {
    for (;;) {
        if (at_ >= text_.size()) {
            return {};
        }
        const size_t start = at_;
        const char c = text_[at_];
        if (isSpace(c)) {
            ++at_;
            continue;
        }
        if (c == ';' || (c == '%' && atLineStart())) {
            skipToLineEnd();
            continue;
        }
        if (c == '{') {
            const size_t close = text_.find('}', at_);
            if (close != std::string_view::npos) {
                at_ = close + 1;
                continue;
            }
            at_ = start + 1;
            PgnToken unclosed = token(PgnTokenKind::Unreadable, start, "is not closed");
            at_ = text_.size();
            return unclosed;
        }
        if (c == '.' || (c == ellipsis[0] && text_.substr(at_).starts_with(ellipsis))) {
            at_ += c == '.' ? 1 : ellipsis.size(); // "1. ... e5": the dots carry nothing
            continue;
        }
        if (c == '[') {
            return tagPair(start);
        }
        if (c == '(' || c == ')' || c == '*') {
            ++at_;
            return token(c == '('   ? PgnTokenKind::VariationStart
                         : c == ')' ? PgnTokenKind::VariationEnd
                                    : PgnTokenKind::Result,
                         start);
        }
        if (c == '$') {
            ++at_;
            while (at_ < text_.size() && isDigit(text_[at_])) {
                ++at_;
            }
            return token(at_ > start + 1 ? PgnTokenKind::Nag : PgnTokenKind::Unreadable, start,
                         "cannot be read here");
        }
        if (!isSymbolByte(c)) {
            ++at_;
            return token(PgnTokenKind::Unreadable, start, "cannot be read here");
        }
        PgnToken t = symbol(start);
        if (t.kind != PgnTokenKind::End) {
            return t;
        }
        // An annotation glyph or "e.p." standing alone: on to the next token.
    }
}

PgnToken PgnLexer::symbol(size_t start) {
    // A move number ends at its dots, so that "12.Nf3" is a number and a move.
    while (at_ < text_.size() && isDigit(text_[at_])) {
        ++at_;
    }
    if (at_ > start) {
        const std::string_view rest = text_.substr(at_);
        if (rest.empty() || rest[0] == '.' || rest.starts_with(ellipsis) || isSpace(rest[0]) ||
            !isSymbolByte(rest[0])) {
            return token(PgnTokenKind::MoveNumber, start);
        }
    }
    while (at_ < text_.size() && isSymbolByte(text_[at_])) {
        ++at_;
    }
    const std::string_view text = text_.substr(start, at_ - start);
    if (text == "1-0" || text == "0-1" || text == "1/2-1/2") {
        return token(PgnTokenKind::Result, start);
    }
    if (isAnnotationGlyph(text) || text == "e.p." || text == ellipsis) {
        return {};
    }
    return token(PgnTokenKind::Move, start);
}

PgnToken PgnLexer::tagPair(size_t start) {
    // The tag ends with its line at the latest: a broken one costs that line only.
    const size_t lineEnd = std::min(text_.find('\n', start), text_.size());
    size_t i = start + 1;
    const auto skipBlanks = [&] {
        while (i < lineEnd && isSpace(text_[i])) {
            ++i;
        }
    };
    skipBlanks();
    const size_t nameStart = i;
    while (i < lineEnd && (is(text_[i], Letter | Digit) || text_[i] == '_')) {
        ++i;
    }
    const size_t nameEnd = i;
    skipBlanks();
    bool wellFormed = nameEnd > nameStart && i < lineEnd && text_[i] == '"';
    size_t valueStart = i + 1, valueEnd = valueStart;
    if (wellFormed) {
        for (i = valueStart; i < lineEnd && text_[i] != '"'; ++i) {
            i += text_[i] == '\\' && i + 1 < lineEnd;
        }
        valueEnd = i;
        wellFormed = i < lineEnd;
        ++i;
        skipBlanks();
        // A missing "]" at the end of the line is forgiven.
        if (i < lineEnd && text_[i] == ']') {
            ++i;
        } else if (i < lineEnd) {
            wellFormed = false;
        }
    }
    if (!wellFormed) {
        const size_t close = text_.find(']', start);
        at_ = close < lineEnd ? close + 1 : lineEnd;
        while (at_ > start + 1 && isSpace(text_[at_ - 1])) {
            --at_;
        }
        return token(PgnTokenKind::Unreadable, start, "is not a tag pair");
    }
    at_ = i;
    PgnToken t = token(PgnTokenKind::TagPair, start);
    t.tagName = text_.substr(nameStart, nameEnd - nameStart);
    t.tagValue = text_.substr(valueStart, valueEnd - valueStart);
    return t;
}

std::string unescapedTagValue(std::string_view raw) {
    std::string value;
    value.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size()) {
            ++i;
        }
        value += raw[i];
    }
    return value;
}
