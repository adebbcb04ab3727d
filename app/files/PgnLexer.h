#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The kinds of token of Portable Game Notation's import format. Comments ("{...}", ";..."),
// "%" escape lines, move-number dots, annotation glyphs ("!", "+-", ...) and "e.p." are skipped
// by the lexer and never returned.
enum class PgnTokenKind {
    TagPair,        // [Name "value"]
    MoveNumber,     // 12. or 12... or 12
    Move,           // anything else that may be a move: the reader decides
    Nag,            // $n
    Result,         // 1-0, 0-1, 1/2-1/2, *
    VariationStart, // (
    VariationEnd,   // )
    Unreadable,     // text that has no place in a game; `problem` says why
    End,
};

struct PgnToken {
    PgnTokenKind kind = PgnTokenKind::End;
    std::string_view text;     // as written, inside the lexer's text; for a tag pair the bracket
    std::string_view tagName;  // tag pairs only
    std::string_view tagValue; // tag pairs only, escapes kept (see unescapedTagValue)
    const char* problem = "";  // unreadable tokens only: "is not closed", ...
};

// Byte classes of the lexer, looked up by byte: it touches every byte of files that may hold
// tens of thousands of games.
namespace pgn_bytes {
enum : uint8_t { Space = 1, Digit = 2, Letter = 4, Symbol = 8 };

inline constexpr std::array<uint8_t, 256> classes = [] {
    std::array<uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const bool space =
            c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
        const bool digit = c >= '0' && c <= '9';
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        // Bytes that may continue a move, a result or an annotation; bytes of multi-byte
        // characters included, so that a "…" glued to a move stays with it.
        const bool symbol =
            digit || letter || c >= 0x80 ||
            std::string_view("_+#=:-/!?.").find(static_cast<char>(c)) != std::string_view::npos;
        table[c] = static_cast<uint8_t>((space ? Space : 0) | (digit ? Digit : 0) |
                                        (letter ? Letter : 0) | (symbol ? Symbol : 0));
    }
    return table;
}();

inline bool is(char c, uint8_t kind) {
    return (classes[static_cast<unsigned char>(c)] & kind) != 0;
}
} // namespace pgn_bytes

// Splits PGN text into tokens. Every call consumes at least one byte until the end, so any
// input ends; nothing is allocated. Lines are not counted here (that would cost every byte a
// test): a token's line is counted from its offset when someone needs it.
class PgnLexer {
public:
    // Starts at `from`, which must be where a token may begin.
    explicit PgnLexer(std::string_view text, size_t from = 0);

    // The common cases, a move or a move number with its dots after blanks, inline; the rest
    // out of line.
    PgnToken next() {
        using namespace pgn_bytes;
        // Scanned with locals: a store to the member on every byte would be kept in memory,
        // since the text's bytes may alias it.
        const char* const begin = text_.data();
        const size_t size = text_.size();
        size_t at = at_;
        while (at < size && is(begin[at], Space)) {
            ++at;
        }
        const size_t start = at;
        if (at < size && is(begin[at], Letter)) {
            while (++at < size && is(begin[at], Symbol)) {
            }
            at_ = at;
            if (text_.substr(start, at - start) != "e.p.") {
                return token(PgnTokenKind::Move, start);
            }
        } else if (at < size && is(begin[at], Digit)) {
            while (++at < size && is(begin[at], Digit)) {
            }
            if (at < size && begin[at] == '.') {
                while (++at < size && begin[at] == '.') {
                }
                at_ = at;
                return token(PgnTokenKind::MoveNumber, start);
            }
            at_ = start; // a result, castling with zeros, or a bare number
        } else {
            at_ = start;
        }
        return nextOther();
    }

    // The offset of the next unread byte, and of a token's first byte.
    size_t offset() const { return at_; }
    size_t offsetOf(const PgnToken& token) const {
        return token.kind == PgnTokenKind::End
                   ? text_.size()
                   : static_cast<size_t>(token.text.data() - text_.data());
    }

private:
    std::string_view text_;
    size_t at_ = 0;

    PgnToken nextOther();
    bool atLineStart() const;
    void skipToLineEnd();
    PgnToken tagPair(size_t start);
    PgnToken symbol(size_t start);
    PgnToken token(PgnTokenKind kind, size_t start, const char* problem = "") const {
        PgnToken t;
        t.kind = kind;
        t.text = text_.substr(start, at_ - start);
        t.problem = problem;
        return t;
    }
};

// A tag value with its escapes (\" and \\) resolved.
std::string unescapedTagValue(std::string_view raw);
