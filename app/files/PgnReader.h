#pragma once

#include "Position.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One game of a PGN file as a list of games shows it, found from its tags and by counting its
// moves without playing them.
struct PgnGameSummary {
    int number = 0;                 // 1 for the file's first game
    int line = 0;                   // the line the game starts on
    size_t offset = 0, length = 0;  // the game's bytes in the file
    std::string date, white, black; // tag values as written, "" where the tag is missing
    std::string result;             // the Result tag, else the movetext's result, else "*"
    int plyCount = 0;               // half-moves of the main line
};

struct PgnTag {
    std::string name;
    std::string value;
};

// One game read move by move, every move checked against the rules.
struct PgnGameRecord {
    std::vector<PgnTag> tags;       // in the order of the file
    Position start{};               // from the FEN tag, else the standard array; previous is null
    int fullmoveNumber = 1;         // the FEN's move number, which Position has no field for
    std::vector<std::string> moves; // the main line in coordinate notation (Move::toString)
    std::string result;             // as in PgnGameSummary

    // The value of the first tag of that name, or null.
    const std::string* tag(std::string_view name) const;

    // Makes the game record that hangs from `game` this game, positioned after its last move:
    // its history is cleared, it takes the start position, and each move is played as the
    // front-ends play one (pushHistory, makeMove), so that undo steps back through the game.
    // `game` must be the position that redoHead follows. One allocation per move.
    void playInto(Position& game) const;
};

// A PGN file held in memory, its games listed. Reading a game costs only that game's text.
class PgnFile {
public:
    // Larger files are refused rather than read into memory.
    static constexpr size_t maxFileSize = size_t{512} << 20;

    // Reads the whole file and lists its games: one pass over the text that plays no move
    // (without `listNow`, see listMore). Nothing when it cannot be read, and `error` then names
    // the file and says why.
    static std::optional<PgnFile> open(const std::string& path, std::string& error,
                                       bool listNow = true);

    // The games of text already in memory; `name` stands for the file in messages. Without
    // `listNow` nothing is listed yet (see listMore).
    PgnFile(std::string name, std::string text, bool listNow = true);

    const std::string& name() const { return name_; }
    // The games listed so far (every game once listed() is true), in the order of the file. A
    // game that cannot be read is listed all the same: the problem shows when it is read.
    const std::vector<PgnGameSummary>& games() const { return games_; }

    // Lists the games of about `bytes` more of the text, whole games only; false once the whole
    // text is listed. A list that must show within a frame lists a part per frame.
    bool listMore(size_t bytes);
    bool listed() const { return listedTo_ >= text_.size(); }

    // Reads game `index` (of games()) with every move. Nothing when it cannot be read, and
    // `error` then says where and why, as in
    //   games.pgn, game 3, line 41: "Nf9" is not a legal move here
    std::optional<PgnGameRecord> readGame(size_t index, std::string& error) const;

private:
    std::string name_;
    std::string text_;
    std::vector<PgnGameSummary> games_;
    // How far the listing has come: the end of the last listed game, and the line of the last
    // listed game's start.
    size_t listedTo_ = 0;
    size_t countedTo_ = 0;
    int countedLine_ = 1;
};
