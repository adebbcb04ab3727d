#include "LegalMove.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

TEST(LegalMoveTest, OnlyWholeTextsOfLegalMovesAreTaken) {
    Position p = fromFen("r3k2r/1P6/8/3pP3/8/8/8/R3K2R w KQkq d6 0 1");
    const auto taken = [&](const char* text) { return legalMoveFromText(p, text).has_value(); };
    for (const char* legal : {"e1g1", "0-0-0", "e5d6", "b7b8n", "b7a8Q", "b7b8"}) {
        EXPECT_TRUE(taken(legal)) << legal;
    }
    for (const char* refused :
         {"e1e3", "e5e6x", "e5e6q", "e1g1 ", "e2e4", "e5d6e", "b7b8k", "", "0-0-0-0", "a1a8x"}) {
        EXPECT_FALSE(taken(refused)) << refused;
    }
    // The move is the position's own, with its capture and companion.
    const Move enPassant = *legalMoveFromText(p, "e5d6");
    EXPECT_TRUE(enPassant.isCapture && enPassant.captureRank == 5 && enPassant.position == &p);
    EXPECT_TRUE(legalMoveFromText(p, "e1c1")->hasCompanion);
}
