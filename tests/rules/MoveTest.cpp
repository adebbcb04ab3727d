#include "RecordingUserInterface.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

#include <memory>

TEST(MoveTest, CoordinateTextRoundTrip) {
    Position p = startingPosition();
    Move m(&p);
    ASSERT_TRUE(m.fromString("e2e4"));
    EXPECT_EQ(m.piece, WhitePawn);
    EXPECT_EQ(m.resultPiece, WhitePawn);
    EXPECT_FALSE(m.isCapture);
    EXPECT_FALSE(m.hasCompanion);
    EXPECT_EQ(m.companion, nullptr);
    EXPECT_EQ(m.toString(), "e2e4");
    // Characters after the fourth are ignored unless the text has exactly five.
    ASSERT_TRUE(m.fromString("g1f3 extra"));
    EXPECT_EQ(m.toString(), "g1f3");
}

TEST(MoveTest, PromotionLetters) {
    Position p = fromFen("3qk3/4P3/8/8/8/8/8/4K3 w - - 0 1");
    Move m(&p);
    ASSERT_TRUE(m.fromString("e7e8"));
    EXPECT_EQ(m.resultPiece, WhiteQueen);
    ASSERT_TRUE(m.fromString("e7e8n"));
    EXPECT_EQ(m.resultPiece, WhiteKnight);
    EXPECT_EQ(m.toString(), "e7e8n");
    ASSERT_TRUE(m.fromString("e7e8R"));
    EXPECT_EQ(m.toString(), "e7e8r");
    ASSERT_TRUE(m.fromString("e7d8b"));
    EXPECT_TRUE(m.isCapture);
    EXPECT_EQ(m.toString(), "e7d8b");
    EXPECT_FALSE(m.fromString("e7e8x"));
    EXPECT_FALSE(m.fromString("e7e8k"));

    Position b = fromFen("4k3/8/8/8/8/8/p7/4K3 b - - 0 1");
    Move bm(&b);
    ASSERT_TRUE(bm.fromString("a2a1"));
    EXPECT_EQ(bm.resultPiece, BlackQueen);
    EXPECT_EQ(bm.toString(), "a2a1q");
    ASSERT_TRUE(bm.fromString("a2a1n"));
    EXPECT_EQ(bm.resultPiece, BlackKnight);
}

TEST(MoveTest, CastlingTexts) {
    Position w = fromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    Move m(&w);
    ASSERT_TRUE(m.fromString("0-0"));
    EXPECT_EQ(m.toString(), "e1g1");
    ASSERT_TRUE(m.hasCompanion);
    EXPECT_EQ(m.companion->toString(), "h1f1");
    EXPECT_EQ(m.companion->piece, WhiteRook);
    EXPECT_FALSE(m.companion->isCapture);

    Position b = w;
    b.sideToMove = 0;
    Move q(&b);
    ASSERT_TRUE(q.fromString("0-0-0"));
    EXPECT_EQ(q.toString(), "e8c8");
    ASSERT_TRUE(q.hasCompanion);
    EXPECT_EQ(q.companion->toString(), "a8d8");
    EXPECT_EQ(q.companion->piece, BlackRook);

    EXPECT_FALSE(m.fromString("O-O"));
    EXPECT_FALSE(m.fromString("0-0-0-0"));
    EXPECT_FALSE(m.fromString("0-1"));

    // The king's two-file move is castling whatever text produced it.
    ASSERT_TRUE(m.fromString("e1g1"));
    ASSERT_TRUE(m.hasCompanion);
    EXPECT_EQ(m.companion->toString(), "h1f1");
    ASSERT_TRUE(m.fromString("e1f1"));
    EXPECT_FALSE(m.hasCompanion);
    EXPECT_EQ(m.companion, nullptr);
}

TEST(MoveTest, EnPassantDetection) {
    Game game("4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1");
    Position& p = game.position;
    play(p, "d7d5");
    ASSERT_TRUE(p.enPassantPossible);
    Move m(&p);
    ASSERT_TRUE(m.fromString("e5d6"));
    EXPECT_TRUE(m.isCapture);
    EXPECT_EQ(m.captureFile, 4);
    EXPECT_EQ(m.captureRank, 5);
    EXPECT_EQ(p.at(4, 6), Empty);
    // A straight push to the same square is no capture.
    Position q = fromFen("4k3/8/8/3P4/8/8/8/4K3 w - - 0 1");
    Move push(&q);
    ASSERT_TRUE(push.fromString("d5d6"));
    EXPECT_FALSE(push.isCapture);
}

TEST(MoveTest, MalformedTexts) {
    Position p = startingPosition();
    Move m(&p);
    for (const char* text : {"i2i4", "e9e1", "e2e", "E2E4", "", "0", "e0e4", "e2i4"}) {
        EXPECT_FALSE(m.fromString(text)) << text;
    }
}

TEST(MoveTest, ImpossiblePromotionPieceIsReportedButPrinted) {
    ScopedRecordingUserInterface scoped;
    Position p = fromFen("4k3/P7/8/8/8/8/8/4K3 w - - 0 1");
    Move m(&p);
    ASSERT_TRUE(m.fromString("a7a8"));
    m.resultPiece = WhiteKing;
    EXPECT_EQ(m.toString(), "a7a8");
    ASSERT_EQ(scoped.ui.errors.size(), 1u);
    EXPECT_EQ(scoped.ui.errors[0],
              "Illegal move: \t\t\t\t\t\t\t\t\t  Promotion to a piece other than "
              "\t\t\t\t\t\t\t\t\t  queen, rook, bishop or knight");
}

TEST(MoveTest, SetFromSquaresAsksForThePromotionPiece) {
    ScopedRecordingUserInterface scoped;
    scoped.ui.promotionPiece = BlackRook;
    Position p = fromFen("4k3/8/8/8/8/8/1p6/R3K3 b - - 0 1");
    Move m(&p);
    m.setFromSquares(2, 2, 1, 1);
    EXPECT_TRUE(m.isCapture);
    EXPECT_EQ(m.resultPiece, BlackRook);
    EXPECT_EQ(m.toString(), "b2a1r");

    Position c = fromFen("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1");
    Move castle(&c);
    castle.setFromSquares(5, 8, 7, 8);
    ASSERT_TRUE(castle.hasCompanion);
    EXPECT_EQ(castle.companion->toString(), "h8f8");
}

TEST(MoveTest, CopiesOwnTheirCompanion) {
    Position p = fromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    auto source = std::make_unique<Move>(&p);
    ASSERT_TRUE(source->fromString("e1c1"));
    Move copy(*source);
    Move assigned(&p);
    ASSERT_TRUE(assigned.fromString("e1g1"));
    assigned = *source;
    ASSERT_NE(copy.companion, nullptr);
    EXPECT_NE(copy.companion.get(), source->companion.get());
    EXPECT_NE(assigned.companion.get(), source->companion.get());
    source.reset();
    EXPECT_TRUE(copy.hasCompanion);
    EXPECT_EQ(copy.companion->toString(), "a1d1");
    EXPECT_EQ(copy.companion->position, &p);
    EXPECT_EQ(assigned.companion->toString(), "a1d1");

    // Assigning a plain move releases the companion held before.
    Move plain(&p);
    ASSERT_TRUE(plain.fromString("a1a2"));
    copy = plain;
    EXPECT_FALSE(copy.hasCompanion);
    EXPECT_EQ(copy.companion, nullptr);
    // Assigned to itself, through a reference that compilers do not warn about.
    const Move& same = copy;
    copy = same;
    EXPECT_EQ(copy.toString(), "a1a2");
}

TEST(MoveTest, SetSquaresIsTheGeneratorsPrimitive) {
    Position p = fromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    Move m(&p);
    ASSERT_TRUE(m.fromString("e1g1"));
    m.isLegal = false;
    m.setSquares(1, 1, 1, 8);
    EXPECT_FALSE(m.isCapture);
    EXPECT_FALSE(m.hasCompanion);
    EXPECT_EQ(m.companion, nullptr);
    EXPECT_TRUE(m.isLegal);
    EXPECT_EQ(m.piece, WhiteRook);
    EXPECT_EQ(m.resultPiece, WhiteRook);
}
