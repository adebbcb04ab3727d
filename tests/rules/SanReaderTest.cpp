#include "SanReader.h"
#include "San.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

bool sameMove(const Move& a, const Move& b) {
    return a.fromFile == b.fromFile && a.fromRank == b.fromRank && a.toFile == b.toFile &&
           a.toRank == b.toRank && a.resultPiece == b.resultPiece && a.isCapture == b.isCapture &&
           (!a.isCapture || (a.captureFile == b.captureFile && a.captureRank == b.captureRank)) &&
           a.hasCompanion == b.hasCompanion;
}

// The ways other programs write the same move as the text this program writes.
std::vector<std::string> spellings(const std::string& san, const Move& move) {
    std::string bare = san;
    while (!bare.empty() && (bare.back() == '+' || bare.back() == '#')) {
        bare.pop_back();
    }
    std::vector<std::string> texts{san, bare, bare + "!?", bare + "+", move.toString()};
    if (const auto equals = bare.find('='); equals != std::string::npos) {
        texts.push_back(bare.substr(0, equals) + bare.substr(equals + 1));
        texts.push_back(bare.substr(0, equals) + "(" + bare.substr(equals + 1) + ")");
    }
    if (bare.starts_with("O-O")) {
        texts.push_back(bare == "O-O" ? "0-0" : "0-0-0");
    }
    const std::string from{static_cast<char>('a' + move.fromFile - 1),
                           static_cast<char>('0' + move.fromRank)};
    const std::string to{static_cast<char>('a' + move.toFile - 1),
                         static_cast<char>('0' + move.toRank)};
    if (bare[0] >= 'B' && bare[0] <= 'R' && bare[0] != 'O') {
        texts.push_back(bare.substr(0, 1) + from + (move.isCapture ? "x" : "-") + to);
    } else if (!bare.starts_with("O-O")) {
        const auto equals = bare.find('=');
        texts.push_back(from + "-" + to + (equals == std::string::npos ? "" : bare.substr(equals)));
        if (move.isCapture && move.fromFile != move.toFile && move.captureRank != move.toRank) {
            texts.push_back(bare + "e.p.");
        }
    }
    return texts;
}

SanReading read(const std::string& fen, const std::string& text, Move* result = nullptr) {
    Position p = fromFen(fen);
    Move move(&p);
    const SanReading reading = readSan(p, text, move);
    if (result != nullptr) {
        *result = move;
    }
    return reading;
}

} // namespace

// Every legal move of positions met in random games, written by the SAN writer and in the other
// spellings, reads back as that very move: disambiguation, pins, checks, castling, en passant
// and promotion all come up.
TEST(SanReaderTest, EveryLegalMoveReadsBackInEverySpelling) {
    std::mt19937 random(20260110);
    int checked = 0;
    for (int game = 0; game < 6; ++game) {
        Position position = startingPosition();
        for (int ply = 0; ply < 160; ++ply) {
            Position scratch = position;
            MoveList legal(&position);
            const int count = position.generateMoves(legal, scratch, false);
            if (count == 0) {
                break;
            }
            for (int i = 0; i < count; ++i) {
                const std::string san = sanText(position, legal[i]);
                for (const std::string& text : spellings(san, legal[i])) {
                    Move read(&position);
                    ASSERT_EQ(readSan(position, text, read), SanReading::Legal)
                        << text << " in game " << game << " ply " << ply << " " << toFen(position);
                    ASSERT_TRUE(sameMove(read, legal[i])) << text << " read as " << read.toString();
                    ++checked;
                }
            }
            position.makeMove(legal[static_cast<int>(random() % static_cast<unsigned>(count))]);
        }
    }
    EXPECT_GT(checked, 10000);
}

TEST(SanReaderTest, MovesThatNoRuleAllowsAreRefusedAndTheReasonTold) {
    struct Case {
        const char* fen;
        const char* text;
        SanReading expected;
    };
    const Case cases[] = {
        // The knight shields its king from the bishop.
        {"4k3/8/8/b7/8/8/3N4/4K3 w - - 0 1", "Nf3", SanReading::NotLegal},
        // The king would pass an attacked square, or has lost the right.
        {"4k3/8/8/8/8/8/5r2/4K2R w K - 0 1", "O-O", SanReading::NotLegal},
        {"4k3/8/8/8/8/8/8/4K2R w - - 0 1", "O-O", SanReading::NotLegal},
        {"4k3/8/8/8/8/8/8/4K2R w - - 0 1", "e1g1", SanReading::NotLegal},
        // A blocked double step; en passant without the right to it.
        {"4k3/8/8/8/8/4n3/4P3/4K3 w - - 0 1", "e4", SanReading::NotLegal},
        {"4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1", "exd6", SanReading::NotLegal},
        // A promotion short of the last rank, or of a piece; a capture of one's own piece.
        {"4k3/8/4P3/8/8/8/8/4K3 w - - 0 1", "e7=Q", SanReading::NotLegal},
        {"4k3/8/8/8/8/8/8/4KN2 w - - 0 1", "Ne3=Q", SanReading::NotLegal},
        {"4k3/8/8/8/8/8/8/3QK3 w - - 0 1", "Qxe1", SanReading::NotLegal},
        // The other side's piece, and an empty square, given in full.
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "e8-e7", SanReading::NotLegal},
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "d4-d5", SanReading::NotLegal},
        // Two knights reach d2: the text must say which.
        {"4k3/8/8/8/8/8/8/1N2KN2 w - - 0 1", "Nd2", SanReading::Ambiguous},
        {"4k3/8/8/8/8/8/8/1N2KN2 w - - 0 1", "Nbd2", SanReading::Legal},
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "Nf9", SanReading::NotAMove},
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "", SanReading::NotAMove},
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "Kee1e2", SanReading::NotAMove},
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "O-O-O-O", SanReading::NotAMove},
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "--", SanReading::NotAMove},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(read(c.fen, c.text), c.expected) << c.text << " on " << c.fen;
    }
    // A pawn that reaches the last rank without a named piece becomes a queen.
    Move promotion;
    ASSERT_EQ(read("4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a8", &promotion), SanReading::Legal);
    EXPECT_EQ(promotion.resultPiece, WhiteQueen);
}
