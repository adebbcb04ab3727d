#include "LogFile.h"

#include <gtest/gtest.h>

namespace {

SearchReport report(int depth, uint64_t nodes, int elapsedMs, const char* move) {
    SearchReport r;
    r.depth = depth;
    r.nodes = nodes;
    r.elapsedMs = elapsedMs;
    r.bestMoveText = move;
    return r;
}

} // namespace

TEST(LogFileTest, ProgressLineGivesSecondsToSixDecimalsAndTruncatedNodesPerSecond) {
    EXPECT_EQ(searchProgressLine(report(7, 1234567, 1500, "e2e4")),
              "7 plies, 1234567 nodes, 1.500000 s, 823044 NPS, best move e2e4");
    // 999.5 nodes per second: truncated, not rounded.
    EXPECT_EQ(searchProgressLine(report(3, 1999, 2000, "e7e8q")),
              "3 plies, 1999 nodes, 2.000000 s, 999 NPS, best move e7e8q");
    EXPECT_EQ(searchProgressLine(report(12, 5000000000ULL, 61234, "g1f3")),
              "12 plies, 5000000000 nodes, 61.234000 s, 81653983 NPS, best move g1f3");
    // In the first millisecond there is no rate to give; one beyond int is capped.
    EXPECT_EQ(searchProgressLine(report(1, 20, 0, "a2a3")),
              "1 plies, 20 nodes, 0.000000 s, 0 NPS, best move a2a3");
    EXPECT_EQ(searchProgressLine(report(2, 10000000000ULL, 1, "b1c3")),
              "2 plies, 10000000000 nodes, 0.001000 s, 2147483647 NPS, best move b1c3");
}

TEST(LogFileTest, ThinkingTimeUsesTheShortestDefaultForm) {
    EXPECT_EQ(thinkingTimeLine(2500), "AI made up its mind in 2.5 seconds.");
    EXPECT_EQ(thinkingTimeLine(3000), "AI made up its mind in 3 seconds.");
    EXPECT_EQ(thinkingTimeLine(7), "AI made up its mind in 0.007 seconds.");
    EXPECT_EQ(thinkingTimeLine(0), "AI made up its mind in 0 seconds.");
    // Six significant digits.
    EXPECT_EQ(thinkingTimeLine(1234567), "AI made up its mind in 1234.57 seconds.");
}
