#include "Exceptions.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

namespace {

bool canRedo(const Game& g) {
    return redoHead != &g.position;
}

int pastLength(const Position& p) {
    int n = 0;
    for (const Position* node = p.previous; node; node = node->previous) {
        ++n;
    }
    return n;
}

} // namespace

TEST(GameRecordTest, UndoAtTheStartIsRefused) {
    Game g;
    const Position before = g.position;
    try {
        g.position.undoMove();
        FAIL() << "undo at the start must throw";
    } catch (const CannotUndoException& e) {
        EXPECT_EQ(e.message(), "this is the initial position");
    }
    EXPECT_TRUE(meaningfullyEqual(g.position, before));
    EXPECT_FALSE(canRedo(g));
}

TEST(GameRecordTest, UndoAndRedoWalkTheRecord) {
    Game g;
    play(g.position, "e2e4");
    const Position afterE4 = g.position;
    play(g.position, "e7e5");
    const Position afterE5 = g.position;
    EXPECT_EQ(pastLength(g.position), 2);

    g.position.undoMove();
    EXPECT_TRUE(meaningfullyEqual(g.position, afterE4));
    EXPECT_EQ(g.position.sideToMove, 0);
    EXPECT_TRUE(canRedo(g));
    g.position.undoMove();
    EXPECT_EQ(pastLength(g.position), 0);
    EXPECT_THROW(g.position.undoMove(), CannotUndoException);

    g.position.redoMove();
    EXPECT_EQ(g.position.at(5, 4), WhitePawn);
    g.position.redoMove();
    EXPECT_EQ(g.position.at(5, 5), BlackPawn);
    EXPECT_EQ(g.position.sideToMove, 1);
    EXPECT_FALSE(canRedo(g));
    EXPECT_EQ(pastLength(g.position), 2);
    // The chain reaches the current position from the redo head, and undo works again.
    g.position.undoMove();
    EXPECT_EQ(redoHead->previous, &g.position);
    g.position.redoMove();
    for (int i = 0; i < 81; ++i) {
        EXPECT_EQ(g.position.board[i], afterE5.board[i]);
    }
}

TEST(GameRecordTest, AMoveAfterUndoDropsTheRedoChain) {
    Game g;
    for (const char* m : {"e2e4", "e7e5", "g1f3", "b8c6"}) {
        play(g.position, m);
    }
    g.position.undoMove();
    g.position.undoMove();
    ASSERT_TRUE(canRedo(g));
    play(g.position, "f1c4");
    EXPECT_FALSE(canRedo(g));
    EXPECT_EQ(pastLength(g.position), 3);
    EXPECT_EQ(g.position.at(3, 4), WhiteBishop);
}

TEST(GameRecordTest, UndoRestoresCastlingAndTheClock) {
    Game g("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    play(g.position, "a1b1");
    play(g.position, "a8b8");
    play(g.position, "b1a1");
    const Position beforeCastle = g.position;
    play(g.position, "e8g8");
    EXPECT_EQ(g.position.halfmoveClock, 4);
    g.position.undoMove();
    EXPECT_TRUE(meaningfullyEqual(g.position, beforeCastle));
    EXPECT_EQ(g.position.at(5, 8), BlackKing);
    EXPECT_EQ(g.position.at(8, 8), BlackRook);
    EXPECT_TRUE(g.position.blackCastleKingside);
    EXPECT_FALSE(g.position.whiteCastleQueenside);
    EXPECT_EQ(g.position.halfmoveClock, 3);
}

TEST(GameRecordTest, ClearHistoryRestartsTheRecord) {
    Game g;
    play(g.position, "e2e4");
    play(g.position, "e7e5");
    play(g.position, "g1f3");
    g.position.undoMove();
    const Position board = g.position;
    g.position.clearHistory();
    EXPECT_EQ(g.position.previous, nullptr);
    EXPECT_EQ(redoHead, &g.position);
    EXPECT_EQ(g.position.halfmoveClock, 0);
    for (int i = 0; i < 81; ++i) {
        EXPECT_EQ(g.position.board[i], board.board[i]);
    }
}

TEST(GameRecordTest, DrawClaimIsUndone) {
    Game g;
    play(g.position, "g1f3");
    g.position.drawClaimed = true;
    play(g.position, "g8f6");
    g.position.undoMove();
    EXPECT_TRUE(g.position.drawClaimed);
    g.position.undoMove();
    EXPECT_FALSE(g.position.drawClaimed);
}
