#include "TestPositions.h"

#include <gtest/gtest.h>

#include <string>

namespace {

Move moveOn(Position& p, const std::string& text) {
    Move m(&p);
    EXPECT_TRUE(m.fromString(text)) << text;
    return m;
}

} // namespace

TEST(PositionTest, StartingArray) {
    Position p = startingPosition();
    EXPECT_EQ(p.at(1, 1), WhiteRook);
    EXPECT_EQ(p.at(2, 1), WhiteKnight);
    EXPECT_EQ(p.at(3, 1), WhiteBishop);
    EXPECT_EQ(p.at(4, 1), WhiteQueen);
    EXPECT_EQ(p.at(5, 1), WhiteKing);
    EXPECT_EQ(p.at(4, 8), BlackQueen);
    EXPECT_EQ(p.at(5, 8), BlackKing);
    EXPECT_EQ(p.at(8, 7), BlackPawn);
    EXPECT_EQ(p.at(3, 4), Empty);
    EXPECT_TRUE(p.whiteCastleKingside && p.whiteCastleQueenside);
    EXPECT_TRUE(p.blackCastleKingside && p.blackCastleQueenside);
    EXPECT_FALSE(p.enPassantPossible);
    EXPECT_FALSE(p.drawClaimed);
    EXPECT_EQ(p.sideToMove, 1);
    EXPECT_EQ(p.whiteKingFile * 10 + p.whiteKingRank, 51);
    EXPECT_EQ(p.blackKingFile * 10 + p.blackKingRank, 58);
    // Border cells belong to no square and stay empty.
    for (int i = 0; i < 81; ++i) {
        if (i < 10 || i % 9 == 0) {
            EXPECT_EQ(p.board[i], Empty) << i;
        }
    }
}

TEST(PositionTest, SetInitialPositionLeavesClockAndHistoryLink) {
    Position p = startingPosition();
    Position other{};
    p.halfmoveClock = 17;
    p.previous = &other;
    p.setInitialPosition();
    EXPECT_EQ(p.halfmoveClock, 17);
    EXPECT_EQ(p.previous, &other);
}

TEST(PositionTest, DoubleStepRecordsEnPassantOnlyWithAnEnemyPawnBeside) {
    // File 0: no en-passant capture is possible.
    const struct {
        const char* fen;
        const char* move;
        int file, rank;
    } cases[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "e2e4", 0, 0},
        {"4k3/8/8/8/3p4/8/4P3/4K3 w - - 0 1", "e2e4", 5, 4},
        {"4k3/8/8/8/8/3p4/4P3/4K3 w - - 0 1", "e2e4", 0, 0}, // beside the start, not the end
        {"4k3/4p3/8/3P1P2/8/8/8/4K3 b - - 0 1", "e7e5", 5, 5},
    };
    for (const auto& c : cases) {
        Position p = fromFen(c.fen);
        Move m = moveOn(p, c.move);
        p.makeMove(m);
        EXPECT_EQ(p.enPassantPossible, c.file != 0) << c.fen;
        if (c.file != 0) {
            EXPECT_EQ(p.enPassantFile, c.file) << c.fen;
            EXPECT_EQ(p.enPassantRank, c.rank) << c.fen;
        }
    }
}

TEST(PositionTest, EnPassantCaptureEmptiesThePawnsSquare) {
    Position p = fromFen("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
    Move m = moveOn(p, "e5d6");
    ASSERT_TRUE(m.isCapture);
    EXPECT_EQ(m.captureFile, 4);
    EXPECT_EQ(m.captureRank, 5);
    const Position before = p;
    p.makeMove(m);
    EXPECT_EQ(p.at(4, 5), Empty);
    EXPECT_EQ(p.at(4, 6), WhitePawn);
    EXPECT_EQ(p.at(5, 5), Empty);
    EXPECT_EQ(p.halfmoveClock, 0);
    p.unmakeMove(m, before);
    EXPECT_TRUE(meaningfullyEqual(p, before));
}

TEST(PositionTest, CastlingRightsEndAndNeverReturn) {
    Position p = fromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    Move takeRook = moveOn(p, "h1h8");
    p.makeMove(takeRook);
    EXPECT_FALSE(p.blackCastleKingside);
    EXPECT_TRUE(p.blackCastleQueenside);
    EXPECT_FALSE(p.whiteCastleKingside);
    EXPECT_TRUE(p.whiteCastleQueenside);

    Position q = fromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    for (const char* text : {"a1a2", "a8a7", "a2a1"}) {
        Move m = moveOn(q, text);
        q.makeMove(m);
    }
    EXPECT_FALSE(q.whiteCastleQueenside);
    EXPECT_TRUE(q.whiteCastleKingside);
    EXPECT_EQ(q.at(1, 1), WhiteRook);
}

TEST(PositionTest, CastlingMovesBothPiecesAsOneHalfMove) {
    Position p = fromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 7 1");
    Move m = moveOn(p, "e1g1");
    ASSERT_TRUE(m.hasCompanion);
    const Position before = p;
    p.makeMove(m);
    EXPECT_EQ(p.at(7, 1), WhiteKing);
    EXPECT_EQ(p.at(6, 1), WhiteRook);
    EXPECT_EQ(p.at(5, 1), Empty);
    EXPECT_EQ(p.at(8, 1), Empty);
    EXPECT_EQ(p.sideToMove, 0);
    EXPECT_FALSE(p.whiteCastleKingside || p.whiteCastleQueenside);
    EXPECT_TRUE(p.blackCastleKingside && p.blackCastleQueenside);
    EXPECT_EQ(p.halfmoveClock, 8);
    EXPECT_EQ(p.whiteKingFile, 7);
    p.unmakeMove(m, before);
    EXPECT_TRUE(meaningfullyEqual(p, before));

    Position q = fromFen("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1");
    Move long_ = moveOn(q, "0-0-0");
    q.makeMove(long_);
    EXPECT_EQ(q.at(3, 8), BlackKing);
    EXPECT_EQ(q.at(4, 8), BlackRook);
    EXPECT_EQ(q.at(1, 8), Empty);
    EXPECT_EQ(q.sideToMove, 1);
    EXPECT_EQ(q.blackKingFile, 3);
}

TEST(PositionTest, PromotionAndItsUnmake) {
    Position p = fromFen("1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1");
    Move m = moveOn(p, "a7b8n");
    const Position before = p;
    p.makeMove(m);
    EXPECT_EQ(p.at(2, 8), WhiteKnight);
    EXPECT_EQ(p.at(1, 7), Empty);
    p.unmakeMove(m, before);
    EXPECT_EQ(p.at(1, 7), WhitePawn);
    EXPECT_EQ(p.at(2, 8), BlackRook);
    EXPECT_TRUE(meaningfullyEqual(p, before));
}

TEST(PositionTest, RemoveMovePiecesEmptiesEverySquareOfTheMove) {
    Position p = fromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    Move castle = moveOn(p, "e1c1");
    Position display = p;
    display.removeMovePieces(castle);
    EXPECT_EQ(display.at(5, 1), Empty);
    EXPECT_EQ(display.at(3, 1), Empty);
    EXPECT_EQ(display.at(1, 1), Empty);
    EXPECT_EQ(display.at(4, 1), Empty);
    EXPECT_EQ(display.at(8, 1), WhiteRook);
    EXPECT_EQ(display.sideToMove, p.sideToMove);
}

// Every move of every node in a few small trees is taken back exactly.
namespace {

// Every line of moves below `position`, `depth` plies long, unmade move by move gives back
// each position it passed through.
void expectUnmakeRestores(Position position, int depth, const std::string& line) {
    Position scratch = position;
    MoveList list(&position);
    const int n = position.generateMoves(list, scratch, true);
    for (int i = 0; i < n; ++i) {
        Position child = position;
        child.makeMove(list[i]);
        const std::string childLine = line + " " + list[i].toString();
        if (depth > 1) {
            expectUnmakeRestores(child, depth - 1, childLine);
        }
        child.unmakeMove(list[i], position);
        ASSERT_TRUE(meaningfullyEqual(child, position)) << childLine;
    }
}

} // namespace

TEST(PositionTest, UnmakeRestoresEveryMeaningfulField) {
    for (const char* fen : {
             "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
             "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
             "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
         }) {
        expectUnmakeRestores(fromFen(fen), 2, fen);
    }
}

// Set-ups may give a colour two kings. The king record follows one of them, and the other once
// that one leaves the board, so the colour is never taken for kingless while it has a king.
TEST(PositionTest, KingRecordFollowsARemainingKing) {
    Position p = fromFen("r3k3/8/8/8/8/8/8/4K3 b - - 0 1");
    p.placePiece(1, 1, WhiteKing); // the record follows the king placed last
    const Position before = p;
    const Move takeKing = moveOn(p, "a8a1");
    p.makeMove(takeKing);
    EXPECT_EQ(p.whiteKingFile * 10 + p.whiteKingRank, 51);
    EXPECT_TRUE(p.isWhiteKingAttacked()) << "the rook on a1 checks the king left on e1";
    p.unmakeMove(takeKing, before);
    EXPECT_EQ(p.whiteKingFile * 10 + p.whiteKingRank, 11);

    p.placePiece(1, 1, Empty);
    EXPECT_EQ(p.whiteKingFile * 10 + p.whiteKingRank, 51);
    p.placePiece(5, 1, WhiteQueen);
    EXPECT_TRUE(p.kingSquaresAgreeWithBoard()) << "no White king is left to follow";
}
