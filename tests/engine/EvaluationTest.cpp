#include "NodeCounter.h"
#include "PieceValues.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

namespace {

int evaluateFen(const std::string& fen) {
    Position p = fromFen(fen);
    Position scratch = p;
    MoveList list(&scratch);
    return p.evaluate(list, scratch);
}

} // namespace

TEST(EvaluationTest, WorkedExamples) {
    EXPECT_EQ(evaluateFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"), 0);
    EXPECT_EQ(evaluateFen("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"), 40);
    // Queen: material, mating correction, king terms that cancel after truncation.
    EXPECT_EQ(evaluateFen("4k3/8/8/8/8/8/8/3QK3 w - - 0 1"), 2500);
    // Pawn: its table, the passed-pawn bonus, the correction for Black's bare king.
    EXPECT_EQ(evaluateFen("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1"), 690);
    EXPECT_EQ(evaluateFen("4k3/4p3/8/8/8/8/8/4K3 w - - 0 1"), -690);
    // Both sides lack mating material: only White is corrected.
    EXPECT_EQ(evaluateFen("1n2k3/8/8/8/8/8/8/1N2K3 w - - 0 1"), -500);
}

TEST(EvaluationTest, BareMinorsAreDrawn) {
    EXPECT_EQ(evaluateFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1"), 0);
    EXPECT_EQ(evaluateFen("4k3/8/8/8/8/8/8/2B1K3 w - - 0 1"), 0);
    EXPECT_EQ(evaluateFen("4k3/8/8/8/8/8/8/4KN2 b - - 0 1"), 0);
    EXPECT_NE(evaluateFen("4k3/8/8/8/8/8/8/1N2KN2 b - - 0 1"), 0);
}

TEST(EvaluationTest, PassedPawnsLookOnlyAtTheirOwnFile) {
    // White e2, Black d7 and d3: all three are passed, since only a pawn's own file counts.
    // u = 3: end-game weight 29/30, king terms -28 and +28, pawn tables -20 + 20 - 30,
    // bonuses trunc(9.67) = 9 for White and trunc(19.33) = 19 for Black, material -200.
    EXPECT_EQ(evaluateFen("4k3/3p4/8/8/8/3p4/4P3/4K3 w - - 0 1"), -240);
    // A White pawn on rank 7 earns no bonus: material 200, correction 500, pawn table 50,
    // king terms -30 (e1) and +50 (a1, both tables blended with u = 1).
    EXPECT_EQ(evaluateFen("8/4P3/8/8/8/8/8/k3K3 w - - 0 1"), 770);
}

TEST(EvaluationTest, MateAndFiftyMoveReturns) {
    // Black to move, mated: +100000 even past the fifty-move limit.
    const char* mate = "R5k1/5ppp/8/8/8/8/8/6K1 b - - 120 1";
    EXPECT_EQ(evaluateFen(mate), MateScore);
    Position claimed = fromFen(mate);
    claimed.drawClaimed = true;
    Position scratch = claimed;
    MoveList list(&scratch);
    EXPECT_EQ(claimed.evaluate(list, scratch), 0) << "a claimed draw is no mate";
    EXPECT_EQ(evaluateFen("6k1/8/8/8/8/8/5PPP/3r2K1 w - - 0 1"), -MateScore);
    // 100 half-moves do not yet end the game; 101 do.
    const int at100 = evaluateFen("4k3/8/8/8/8/8/8/3QK3 w - - 100 1");
    EXPECT_EQ(at100, 2500);
    EXPECT_EQ(evaluateFen("4k3/8/8/8/8/8/8/3QK3 w - - 101 1"), 0);
}

TEST(EvaluationTest, EveryCallCounts) {
    nodeCount.reset();
    evaluateFen("4k3/8/8/8/8/8/8/3QK3 w - - 101 1");
    evaluateFen("R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1");
    evaluateFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    evaluateFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    EXPECT_EQ(nodeCount.load(), 4u);
    nodeCount.reset();
    EXPECT_EQ(nodeCount.load(), 0u);
}
