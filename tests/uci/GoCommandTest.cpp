#include "GoCommand.h"
#include "InfoLine.h"
#include "PieceValues.h"
#include "TimeBudget.h"

#include <gtest/gtest.h>

TEST(GoCommandTest, ArgumentsBecomeTheSearchsLimits) {
    std::vector<std::string> problems;
    const GoCommand clock =
        readGoCommand("wtime 60000 btime -20 winc 1000 binc 0 movestogo 5", problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(planSearch(clock, true).timeMs, clockBudgetMs(60000, 1000, 5));
    EXPECT_EQ(planSearch(clock, false).timeMs, 1);
    EXPECT_EQ(planSearch(clock, true).depth, deepestSearch);

    const SearchPlan limited =
        planSearch(readGoCommand("movetime 300 depth 7 nodes 0", problems), true);
    EXPECT_EQ(limited.timeMs, 300);
    EXPECT_EQ(limited.depth, 7);
    EXPECT_EQ(limited.nodeLimit, 1u);
    EXPECT_FALSE(limited.infinite || limited.pondering);
    EXPECT_EQ(planSearch(readGoCommand("mate 3", problems), true).depth, 5);
    EXPECT_EQ(planSearch(readGoCommand("depth 900", problems), true).depth, deepestSearch);

    // Nothing said: no limit but depth, and the best move goes out when the search ends.
    const SearchPlan plain = planSearch(readGoCommand("", problems), true);
    EXPECT_EQ(plain.timeMs, unlimitedTimeMs);
    EXPECT_FALSE(plain.infinite);
    // Infinite overrides the clock; a ponder search keeps the clock's budget for the ponderhit.
    const SearchPlan infinite = planSearch(readGoCommand("wtime 1000 infinite", problems), true);
    EXPECT_TRUE(infinite.infinite);
    EXPECT_EQ(infinite.timeMs, unlimitedTimeMs);
    const SearchPlan ponder = planSearch(readGoCommand("ponder btime 9000", problems), false);
    EXPECT_TRUE(ponder.pondering);
    EXPECT_EQ(ponder.timeMs, unlimitedTimeMs);
    EXPECT_EQ(ponder.budgetAfterPonderHitMs, clockBudgetMs(9000, 0, 0));
    EXPECT_TRUE(problems.empty());
}

TEST(GoCommandTest, UnreadableArgumentsAreNamedAndSkipped) {
    std::vector<std::string> problems;
    const GoCommand go = readGoCommand(
        "depth x movetime wtime 500 nodes -4 searchmoves e2e4 d2d4 btime 700 sideways", problems);
    EXPECT_FALSE(go.depth || go.moveTimeMs || go.nodes);
    EXPECT_EQ(go.whiteTimeMs, 500);
    EXPECT_EQ(go.blackTimeMs, 700);
    EXPECT_EQ(problems, (std::vector<std::string>{
                            "go: depth needs a whole number from 0 up, not x; ignored",
                            "go: movetime needs a whole number from 0 up, not wtime; ignored",
                            "go: nodes needs a whole number from 0 up, not -4; ignored",
                            "go: searchmoves is not supported; every move is searched",
                            "go: unknown argument sideways ignored"}));
}

TEST(InfoLineTest, ScoresFromTheSideToMoveInCentipawnsOrMates) {
    EXPECT_EQ(uciScore(201, 4, true), "cp 100");
    EXPECT_EQ(uciScore(201, 4, false), "cp -100");
    EXPECT_EQ(uciScore(-3, 4, true), "cp -1");
    // Mates carry the moves of the depth that found them, signed for the side to move.
    EXPECT_EQ(uciScore(MateScore, 1, true), "mate 1");
    EXPECT_EQ(uciScore(MateScore, 4, false), "mate -2");
    EXPECT_EQ(uciScore(-MateScore, 5, false), "mate 3");
    // The first iteration's exchange correction moves a mate a little off its value.
    EXPECT_EQ(uciScore(MateScore - 2000, 1, true), "mate 1");

    SearchReport report;
    report.depth = 6;
    report.score = -400;
    report.elapsedMs = 0;
    report.nodes = 1234;
    report.bestMoveText = "e7e5";
    EXPECT_EQ(infoLine(report, false),
              "info depth 6 score cp 200 time 0 nodes 1234 nps 1234000 pv e7e5");
}
