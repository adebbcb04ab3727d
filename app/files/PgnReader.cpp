#include "PgnReader.h"

#include "Fen.h"
#include "Move.h"
#include "PgnLexer.h"
#include "SanReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isResultToken(std::string_view text) {
    return text == "1-0" || text == "0-1" || text == "1/2-1/2" || text == "*";
}

// The Result tag when it holds a result, else the movetext's own, else "*".
std::string gameResult(std::string_view resultTag, std::string_view termination) {
    if (isResultToken(resultTag)) {
        return std::string(resultTag);
    }
    return termination.empty() ? "*" : std::string(termination);
}

// The offending text as a message quotes it: cut short, and without control characters.
std::string quoted(std::string_view text) {
    constexpr size_t longest = 60;
    std::string shown;
    for (size_t i = 0; i < text.size() && i < longest; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        shown += c < 0x20 || c == 0x7f ? '?' : static_cast<char>(c);
    }
    if (text.size() > longest) {
        shown += "...";
    }
    return "\"" + shown + "\"";
}

const char* sanProblem(SanReading reading) {
    return reading == SanReading::Ambiguous ? "is ambiguous here: more than one legal move fits it"
                                            : "is not a legal move here";
}

} // namespace

const std::string* PgnGameRecord::tag(std::string_view name) const {
    for (const PgnTag& t : tags) {
        if (t.name == name) {
            return &t.value;
        }
    }
    return nullptr;
}

void PgnGameRecord::playInto(Position& game) const {
    game.clearHistory();
    game = start;
    game.previous = nullptr;
    game.drawClaimed = false;
    redoHead = &game;
    for (const std::string& text : moves) {
        Move move(&game);
        move.fromString(text);
        game.pushHistory();
        game.makeMove(move);
    }
}

std::optional<PgnFile> PgnFile::open(const std::string& path, std::string& error, bool listNow) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        error = "Cannot open " + path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    struct stat info {};
    std::string text;
    if (::fstat(file, &info) != 0 || S_ISDIR(info.st_mode)) {
        error = "Cannot read " + path + ": " +
                (S_ISDIR(info.st_mode) ? "it is a folder" : std::strerror(errno));
    } else if (static_cast<unsigned long long>(info.st_size) > maxFileSize) {
        error = "Cannot open " + path + ": it is larger than " + std::to_string(maxFileSize >> 20) +
                " MiB";
    } else {
        // The size is a hint: a file that grows or shrinks meanwhile is read to its end.
        text.resize(static_cast<size_t>(info.st_size));
        size_t done = 0;
        for (;;) {
            if (done == text.size()) {
                if (text.size() >= maxFileSize) {
                    break;
                }
                text.resize(std::min(maxFileSize, text.size() + 65536));
            }
            const ssize_t n = ::read(file, text.data() + done, text.size() - done);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                error = "Cannot read " + path + ": " + std::strerror(errno);
            }
            if (n <= 0) {
                break;
            }
            done += static_cast<size_t>(n);
        }
        text.resize(done);
    }
    ::close(file);
    if (!error.empty()) {
        return std::nullopt;
    }
    return PgnFile(std::filesystem::path(path).filename().string(), std::move(text), listNow);
}

PgnFile::PgnFile(std::string name, std::string text, bool listNow)
    : name_(std::move(name)), text_(std::move(text)) {
    if (listNow) {
        listMore(text_.size());
    }
}

// A game ends with its result, or where the tags of the next one begin after some movetext;
// text with neither tags nor movetext (comments only) is no game. Each call starts and stops at
// the end of a game, so nothing but the offset and its line carries over.
bool PgnFile::listMore(size_t bytes) {
    const std::string_view text = text_;
    PgnLexer lexer(text, listedTo_);
    const size_t stopAfter = bytes >= text.size() - listedTo_ ? text.size() : listedTo_ + bytes;
    const size_t gamesBefore = games_.size();
    PgnGameSummary game;
    bool open = false, movetextSeen = false;
    int depth = 0;
    std::string_view resultTag, termination;

    const auto close = [&](size_t end) {
        game.length = end - game.offset;
        game.result = gameResult(resultTag, termination);
        game.number = static_cast<int>(games_.size()) + 1;
        games_.push_back(std::move(game));
        game = PgnGameSummary{};
        open = false;
        listedTo_ = end;
    };

    for (;;) {
        const PgnToken token = lexer.next();
        const size_t start = lexer.offsetOf(token);
        if (token.kind == PgnTokenKind::End) {
            if (open) {
                close(text.size());
            }
            listedTo_ = text.size();
            return false;
        }
        if (open && token.kind == PgnTokenKind::TagPair && movetextSeen) {
            close(start);
        }
        if (!open) {
            if (start >= stopAfter && games_.size() > gamesBefore) {
                listedTo_ = start;
                return true;
            }
            open = true;
            movetextSeen = false;
            depth = 0;
            resultTag = termination = {};
            game.offset = start;
            // Lines are counted from one game's start to the next.
            countedLine_ += static_cast<int>(
                std::count(text.begin() + static_cast<std::ptrdiff_t>(countedTo_),
                           text.begin() + static_cast<std::ptrdiff_t>(start), '\n'));
            countedTo_ = start;
            game.line = countedLine_;
        }
        switch (token.kind) {
        case PgnTokenKind::TagPair:
            if (token.tagName == "Date" && game.date.empty()) {
                game.date = unescapedTagValue(token.tagValue);
            } else if (token.tagName == "White" && game.white.empty()) {
                game.white = unescapedTagValue(token.tagValue);
            } else if (token.tagName == "Black" && game.black.empty()) {
                game.black = unescapedTagValue(token.tagValue);
            } else if (token.tagName == "Result" && resultTag.empty()) {
                resultTag = token.tagValue;
            }
            break;
        case PgnTokenKind::Move:
            game.plyCount += depth == 0;
            movetextSeen = true;
            break;
        case PgnTokenKind::VariationStart:
            ++depth;
            movetextSeen = true;
            break;
        case PgnTokenKind::VariationEnd:
            depth -= depth > 0;
            movetextSeen = true;
            break;
        case PgnTokenKind::Result:
            movetextSeen = true;
            if (depth == 0) {
                termination = token.text;
                close(lexer.offset());
            }
            break;
        default:
            movetextSeen = true;
            break;
        }
    }
}

std::optional<PgnGameRecord> PgnFile::readGame(size_t index, std::string& error) const {
    const PgnGameSummary& summary = games_.at(index);
    const auto fail = [&](size_t offset, std::string_view offending, std::string_view problem) {
        const int line =
            summary.line +
            static_cast<int>(std::count(text_.begin() + static_cast<std::ptrdiff_t>(summary.offset),
                                        text_.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
        error = name_ + ", game " + std::to_string(summary.number) + ", line " +
                std::to_string(line) + ": " + quoted(offending) + " " + std::string(problem);
        return std::nullopt;
    };

    PgnGameRecord game;
    game.moves.reserve(static_cast<size_t>(summary.plyCount));
    // The text before the game stays in view: whether a "%" starts a line depends on it.
    PgnLexer lexer(std::string_view(text_).substr(0, summary.offset + summary.length),
                   summary.offset);
    Position position{};
    bool started = false;
    int depth = 0;
    size_t variationStart = 0, fenTag = 0;
    std::string_view termination;
    // The start position is known once the tags are read.
    const auto start = [&]() -> bool {
        started = true;
        const std::string* fen = game.tag("FEN");
        if (fen == nullptr) {
            position.setInitialPosition();
            position.halfmoveClock = 0;
        } else {
            try {
                const FenPosition set = readFen(*fen);
                position = set.position;
                game.fullmoveNumber = set.fullmoveNumber;
            } catch (const InvalidFenException& e) {
                fail(fenTag, *fen, std::string("is not a FEN position: ") + e.what());
                return false;
            }
        }
        position.previous = nullptr;
        position.drawClaimed = false;
        game.start = position;
        return true;
    };

    for (;;) {
        const PgnToken token = lexer.next();
        if (token.kind == PgnTokenKind::TagPair && !started) {
            if (token.tagName == "FEN" && game.tag("FEN") == nullptr) {
                fenTag = lexer.offsetOf(token);
            }
            game.tags.push_back({std::string(token.tagName), unescapedTagValue(token.tagValue)});
            continue;
        }
        if (!started && !start()) {
            return std::nullopt;
        }
        switch (token.kind) {
        case PgnTokenKind::End:
            if (depth > 0) {
                return fail(variationStart, "(", "is not closed");
            }
            game.result = gameResult(game.tag("Result") ? *game.tag("Result") : "", termination);
            return game;
        case PgnTokenKind::Unreadable:
            return fail(lexer.offsetOf(token), token.text, token.problem);
        case PgnTokenKind::TagPair:
            return fail(lexer.offsetOf(token), token.text, "stands among the moves");
        case PgnTokenKind::VariationStart:
            variationStart = depth == 0 ? lexer.offsetOf(token) : variationStart;
            ++depth;
            break;
        case PgnTokenKind::VariationEnd:
            if (depth == 0) {
                return fail(lexer.offsetOf(token), token.text, "closes no variation");
            }
            --depth;
            break;
        case PgnTokenKind::Result:
            termination = depth == 0 ? token.text : termination;
            break;
        case PgnTokenKind::Move: {
            if (depth > 0) {
                break;
            }
            Move move(&position);
            const SanReading reading = readSan(position, token.text, move);
            if (reading != SanReading::Legal) {
                return fail(lexer.offsetOf(token), token.text, sanProblem(reading));
            }
            game.moves.push_back(move.toString());
            position.makeMove(move);
            break;
        }
        default:
            break;
        }
    }
}
