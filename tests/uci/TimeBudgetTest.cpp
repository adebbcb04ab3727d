#include "TimeBudget.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace {

// A game on a clock that runs down: every move spends its budget and a lag on top (the search
// ends a little late, the move line travels), then earns the increment; the time control adds
// its time when the moves to go run out. Returns the least time the clock ever showed.
int64_t lowestClockOfAGame(int64_t baseMs, int64_t incrementMs, int movesPerControl, int moves,
                           int64_t lagMs) {
    int64_t left = baseMs;
    int64_t lowest = left;
    int toGo = movesPerControl;
    for (int move = 0; move < moves; ++move) {
        const int32_t budget = clockBudgetMs(left, incrementMs, toGo);
        EXPECT_GE(budget, 1);
        EXPECT_LE(budget, std::max<int64_t>(1, left - clockSafetyMarginMs(left)))
            << "move " << move << " with " << left << " ms left";
        left -= budget + lagMs;
        lowest = std::min(lowest, left);
        left += incrementMs;
        if (movesPerControl > 0 && --toGo == 0) {
            left += baseMs;
            toGo = movesPerControl;
        }
    }
    return lowest;
}

} // namespace

TEST(TimeBudgetTest, AClockThatRunsDownNeverFlags) {
    // Sudden death, with and without increment, through a long game, each move 20 ms late (a
    // few are usual here); a clock kept alive by its increment, each move 80 ms late.
    EXPECT_GT(lowestClockOfAGame(60000, 0, 0, 120, 20), 0);
    EXPECT_GT(lowestClockOfAGame(180000, 2000, 0, 300, 20), 0);
    EXPECT_GT(lowestClockOfAGame(1000, 100, 0, 300, 80), 0);
    // Classical controls, the suite's match's among them; every move 90 ms late (as a few were
    // in a match on a loaded machine) where the clock allows for it, and the last move before
    // each control keeps half the clock.
    EXPECT_GT(lowestClockOfAGame(300000, 0, 40, 200, 90), 0);
    EXPECT_GT(lowestClockOfAGame(10000, 0, 40, 200, 20), 0);
    EXPECT_GT(lowestClockOfAGame(5000, 0, 1, 50, 90), 2000);
    // Sudden death keeps a good part of the clock for a long game.
    EXPECT_GT(lowestClockOfAGame(60000, 0, 0, 60, 0), 5000);
}

TEST(TimeBudgetTest, SharesTheClockSensibly) {
    // A share of the clock plus the increment.
    EXPECT_EQ(clockBudgetMs(70000, 0, 0), 2000);
    EXPECT_EQ(clockBudgetMs(70000, 500, 0), 2500);
    EXPECT_EQ(clockBudgetMs(63000, 0, 20), 3000);
    // The last move before the control keeps half the clock, and a small clock its margin.
    EXPECT_EQ(clockBudgetMs(10000, 0, 1), 5000);
    EXPECT_EQ(clockBudgetMs(400, 1000, 1), 400 - clockSafetyMarginMs(400));
    // A clock at its end, or already overdrawn, still gives the search a moment.
    EXPECT_EQ(clockBudgetMs(100, 0, 0), 1);
    EXPECT_EQ(clockBudgetMs(-500, 1000, 0), 1);
    // More time never gives less.
    for (int64_t ms = 0; ms < 400000; ms += 997) {
        EXPECT_LE(clockBudgetMs(ms, 0, 0), clockBudgetMs(ms + 997, 0, 0)) << ms;
    }
}
