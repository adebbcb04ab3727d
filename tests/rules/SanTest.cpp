#include "San.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string san(const std::string& fen, const std::string& coordinates) {
    Position p = fromFen(fen);
    Move m(&p);
    EXPECT_TRUE(m.fromString(coordinates)) << coordinates;
    return sanText(p, m);
}

} // namespace

TEST(SanTest, OriginIsGivenOnlyAsFarAsTheLegalMovesNeedIt) {
    // Knights on b1 and f1 both reach d2: the file tells them apart.
    EXPECT_EQ(san("4k3/8/8/8/8/8/8/1N2KN2 w - - 0 1", "b1d2"), "Nbd2");
    // Rooks on a1 and a5 share the file: the rank tells them apart.
    EXPECT_EQ(san("4k3/8/8/R7/8/8/8/R3K3 w - - 0 1", "a1a3"), "R1a3");
    // Queens on a1, a3 and c1 all reach b2: a1 shares a file with one and a rank with the other.
    const std::string queens = "4k3/8/8/8/8/Q7/8/Q1Q1K3 w - - 0 1";
    EXPECT_EQ(san(queens, "a1b2"), "Qa1b2");
    EXPECT_EQ(san(queens, "a3b2"), "Q3b2");
    EXPECT_EQ(san(queens, "c1b2"), "Qcb2");
    // The knight on c3 is pinned to its king, so the one on g1 is the only one that can go.
    EXPECT_EQ(san("4k3/8/8/b7/8/2N5/8/4K1N1 w - - 0 1", "g1e2"), "Ne2");
    // Black captures, and a pawn capture names its file.
    EXPECT_EQ(san("4k3/8/8/8/3n4/8/4P3/4K1n1 b - - 0 1", "d4e2"), "Ndxe2");
    EXPECT_EQ(san("4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1", "e4d5"), "exd5");
}

TEST(SanTest, PromotionCastlingAndEnPassantCarryTheirMarks) {
    const std::string promoting = "3r3k/4P3/8/8/8/8/8/4K3 w - - 0 1";
    EXPECT_EQ(san(promoting, "e7e8q"), "e8=Q+");
    EXPECT_EQ(san(promoting, "e7e8n"), "e8=N");
    EXPECT_EQ(san(promoting, "e7d8r"), "exd8=R+");
    // The castling rook closes the f-file on a king walled in by its own pieces.
    EXPECT_EQ(san("4rkr1/4p1p1/8/8/8/8/8/4K2R w K - 0 1", "e1g1"), "O-O#");
    EXPECT_EQ(san("r3k3/8/8/8/8/8/8/4K3 b q - 0 1", "e8c8"), "O-O-O");
    // The target of an en-passant capture is empty; it is a capture all the same.
    EXPECT_EQ(san("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "e5d6"), "exd6");
}

TEST(SanTest, RecordGivesThePlayedMovesWithoutTheUndoneOnes) {
    {
        // One game at a time: the redo chain hangs from the global head.
        Game game;
        for (const char* move : {"f2f3", "e7e5", "g2g4", "d8h4"}) {
            play(game.position, move);
        }
        EXPECT_EQ(sanMovesOfRecord(game.position),
                  (std::vector<std::string>{"f3", "e5", "g4", "Qh4#"}));
        game.position.undoMove();
        game.position.undoMove();
        EXPECT_EQ(sanMovesOfRecord(game.position), (std::vector<std::string>{"f3", "e5"}));
        game.position.redoMove();
        EXPECT_EQ(sanMovesOfRecord(game.position), (std::vector<std::string>{"f3", "e5", "g4"}));
    }

    // The board after the move decides which promotion was played.
    Game promotion("7k/4P3/8/8/8/8/p7/4K3 w - - 0 1");
    play(promotion.position, "e7e8n");
    play(promotion.position, "h8h7");
    EXPECT_EQ(sanMovesOfRecord(promotion.position), (std::vector<std::string>{"e8=N", "Kh7"}));
}
