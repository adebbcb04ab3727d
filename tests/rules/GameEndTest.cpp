#include "TestPositions.h"

#include <gtest/gtest.h>

#include <string>

TEST(GameEndTest, InsufficientMaterial) {
    struct Case {
        const char* fen;
        bool insufficient;
    };
    const Case cases[] = {
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", true},
        {"4k3/8/8/8/8/8/8/4KN2 w - - 0 1", true},
        {"4k3/8/8/8/8/8/8/3NKN2 w - - 0 1", false},
        {"4kn2/8/8/8/8/8/8/4KB2 w - - 0 1", false},
        // Three bishops on light squares (b1, e2, c8) of both colours.
        {"2b1k3/8/8/8/8/8/4B3/1B2K3 w - - 0 1", true},
        {"2b1k3/8/8/8/8/8/4B2P/1B2K3 w - - 0 1", false},
        {"2b1k3/8/8/8/8/8/4B3/2B1K3 w - - 0 1", false},
        {"4k3/8/8/8/8/8/8/4KR2 w - - 0 1", false},
        {"4k3/p7/8/8/8/8/8/4K3 w - - 0 1", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fromFen(c.fen).isInsufficientMaterial(), c.insufficient) << c.fen;
    }
    EXPECT_STREQ(fromFen("4k3/8/8/8/8/8/8/4KN2 b - - 0 1").gameEndReason(),
                 "Insufficient material");
}

TEST(GameEndTest, CheckmateAndStalemate) {
    const Position mated = fromFen("R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1");
    EXPECT_TRUE(mated.hasNoLegalMoves());
    EXPECT_TRUE(mated.isBlackCheckmated());
    EXPECT_FALSE(mated.isWhiteCheckmated());
    EXPECT_STREQ(mated.gameEndReason(), "Checkmate");

    const Position stalemate = fromFen("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
    EXPECT_TRUE(stalemate.hasNoLegalMoves());
    EXPECT_FALSE(stalemate.isBlackCheckmated());
    EXPECT_FALSE(stalemate.isWhiteCheckmated());
    EXPECT_STREQ(stalemate.gameEndReason(), "Stalemate");

    Position claimedMate = mated;
    claimedMate.drawClaimed = true;
    EXPECT_FALSE(claimedMate.isBlackCheckmated());

    const Position whiteMated = fromFen("6k1/8/8/8/8/8/5PPP/3r2K1 w - - 0 1");
    EXPECT_TRUE(whiteMated.isWhiteCheckmated());
    // The same board with Black to move, which no game reaches (the reader refuses it).
    Position blackToMove = whiteMated;
    blackToMove.sideToMove = 0;
    EXPECT_FALSE(blackToMove.isWhiteCheckmated());
}

TEST(GameEndTest, FiftyMoveRule) {
    Position p = fromFen("4k3/8/8/8/8/8/8/R3K3 w - - 99 1");
    EXPECT_FALSE(p.isDrawClaimable());
    p.halfmoveClock = 100;
    EXPECT_TRUE(p.isDrawClaimable());
    p.drawClaimed = true;
    EXPECT_STREQ(p.gameEndReason(), "Fifty-move rule");
    p.halfmoveClock = 40;
    EXPECT_STREQ(p.gameEndReason(), "Threefold repetition");
    EXPECT_TRUE(p.hasNoLegalMoves());
}

TEST(GameEndTest, ThreefoldRepetitionNeedsThreeOccurrences) {
    Game g;
    const char* shuffle[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
    for (const char* m : shuffle) {
        play(g.position, m);
    }
    // The starting array now stands for the second time.
    EXPECT_TRUE(g.position.isRepetition());
    EXPECT_FALSE(g.position.isDrawClaimable());
    for (const char* m : shuffle) {
        play(g.position, m);
    }
    EXPECT_TRUE(g.position.isDrawClaimable());
    // Claimable is not over: the game goes on until a claim is accepted.
    EXPECT_FALSE(g.position.hasNoLegalMoves());
}

TEST(GameEndTest, RepetitionWindowEndsAtAPawnMove) {
    Game g;
    for (const char* m :
         {"g1f3", "g8f6", "f3g1", "f6g8", "e2e3", "e7e6", "g1f3", "g8f6", "f3g1", "f6g8"}) {
        play(g.position, m);
    }
    // The position after e3 e6 has occurred twice; the ones before the pawn moves are outside.
    EXPECT_TRUE(g.position.isRepetition());
    EXPECT_FALSE(g.position.isDrawClaimable());
    Game h;
    for (const char* m : {"g1f3", "g8f6", "f3g1", "f6g8", "e2e4", "e7e5"}) {
        play(h.position, m);
    }
    EXPECT_FALSE(h.position.isRepetition());
}

TEST(GameEndTest, EnPassantRecordDistinguishesPositions) {
    // After d7-d5 with a White pawn on e5 the record is set; the same board later is not.
    Game g("4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1");
    for (const char* m : {"d7d5", "e1f1", "e8d8", "f1e1", "d8e8", "e1f1", "e8d8", "f1e1", "d8e8"}) {
        play(g.position, m);
    }
    EXPECT_FALSE(g.position.enPassantPossible);
    // Two occurrences without the record (after moves 5 and 9), one with it: not three.
    EXPECT_FALSE(g.position.isDrawClaimable());
    EXPECT_TRUE(g.position.isRepetition());
}

TEST(GameEndTest, OnlyTheMoversCastlingRightsCount) {
    // White's rook steps away and back: White's right is gone, and White is to move in the
    // compared positions, so they differ.
    Game w("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    for (const char* m : {"h1h2", "e8d8", "h2h1", "d8e8"}) {
        play(w.position, m);
    }
    EXPECT_FALSE(w.position.isRepetition());
    // Black loses a right while White is to move in the compared positions: they count.
    Game b("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    for (const char* m : {"e1d1", "h8h7", "d1e1", "h7h8", "e1d1", "e8d8", "d1e1", "d8e8"}) {
        play(b.position, m);
    }
    EXPECT_EQ(b.position.sideToMove, 1);
    EXPECT_TRUE(b.position.isRepetition());
}

TEST(GameEndTest, ClaimsCompareEveryCastlingRightTheSearchOnlyTheMovers) {
    // The starting array with White to move for the third time, but Black's rook has been to g8
    // since the first two: by the rules only its first occurrence without that right.
    Game g;
    for (const char* m : {"g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "g8f6", "f3g1", "h8g8", "g1f3",
                          "g8h8", "f3g1", "f6g8"}) {
        play(g.position, m);
    }
    EXPECT_FALSE(g.position.isDrawClaimable());
    EXPECT_TRUE(g.position.isRepetition());
    for (const char* m : {"g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "g8f6", "f3g1", "f6g8"}) {
        play(g.position, m);
    }
    EXPECT_TRUE(g.position.isDrawClaimable());
}

TEST(GameEndTest, ASideWithoutItsKingIsNeverInCheck) {
    // Set-ups may leave a king out; the record still names its last square.
    Position p = fromFen("4k3/8/8/8/8/8/6P1/4R1K1 b - - 0 1");
    ASSERT_TRUE(p.isBlackKingAttacked());
    p.board[squareIndex(5, 8)] = Empty;
    EXPECT_FALSE(p.isBlackKingAttacked());
    EXPECT_FALSE(p.isBlackCheckmated());
    EXPECT_TRUE(p.hasNoLegalMoves());
    EXPECT_STREQ(p.gameEndReason(), "Stalemate");
}
