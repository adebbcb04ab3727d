#include "PlayedBy.h"

#include <gtest/gtest.h>

TEST(PlayedByTest, ASideThatChangedHandsNamesItsPlayersInOrder) {
    PlayedBy played;
    played.reset(true);
    played.moveMade(0, "Veltmark");
    played.moveMade(1, "Veltmark");
    played.moveMade(2, "Veltmark");
    played.moveMade(3, "Veltmark");
    // The settings give White to a human, then back to the engine.
    played.moveMade(4, "Human");
    played.moveMade(5, "Veltmark");
    played.moveMade(6, "Veltmark");
    EXPECT_EQ(played.white(7, "Human"), "Veltmark / Human / Veltmark");
    EXPECT_EQ(played.black(7, "Human"), "Veltmark");
    // Saved after an undo, the game ends before the human's move.
    EXPECT_EQ(played.white(4, "Human"), "Veltmark");
}

TEST(PlayedByTest, AMoveAfterUndoReplacesWhoMadeTheUndoneOnes) {
    PlayedBy played;
    played.reset(true);
    played.moveMade(0, "Human");
    played.moveMade(1, "Veltmark");
    played.moveMade(2, "Human");
    played.moveMade(1, "Human");
    EXPECT_EQ(played.black(2, "Veltmark"), "Human");
    // No move of White's after the replacement stands: the one made earlier still counts.
    EXPECT_EQ(played.white(2, "Veltmark"), "Human");
}

TEST(PlayedByTest, ASideWithoutMovesIsNamedByWhoPlaysItNow) {
    PlayedBy played;
    played.reset(false); // a set-up position with Black to move
    played.moveMade(0, "Human");
    EXPECT_EQ(played.black(1, "Veltmark"), "Human");
    EXPECT_EQ(played.white(1, "Veltmark"), "Veltmark");
}

TEST(PlayedByTest, AGameTakenOverKeepsItsNamesAndAddsTheNextPlayerOnce) {
    PlayedBy played;
    played.takeOver(true, 3, "Carlsen, Magnus / Veltmark", "Human");
    played.moveMade(3, "Human");
    played.moveMade(4, "Veltmark");
    EXPECT_EQ(played.white(5, "Veltmark"), "Carlsen, Magnus / Veltmark");
    EXPECT_EQ(played.black(5, "Veltmark"), "Human");
    played.moveMade(5, "Veltmark");
    EXPECT_EQ(played.black(6, "Human"), "Human / Veltmark");
}
