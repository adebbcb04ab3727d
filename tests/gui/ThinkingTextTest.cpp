#include "ThinkingText.h"
#include "RequestCoalescer.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

SearchReport report(int depth, int whiteScore, const char* move) {
    SearchReport r;
    r.depth = depth;
    r.score = whiteScore;
    r.bestMoveText = move;
    return r;
}

} // namespace

TEST(ThinkingTextTest, ScoreInPawnsForTheSideToMoveAndTheMoveInAlgebraicNotation) {
    Position white = startingPosition();
    EXPECT_EQ(thinkingText(report(7, 70, "g1f3"), white), "depth 7, score +0.35, best Nf3");
    Position black = fromFen("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1");
    EXPECT_EQ(thinkingText(report(4, 70, "e7e5"), black), "depth 4, score -0.35, best e5");
    EXPECT_EQ(thinkingText(report(1, 0, "b8c6"), black), "depth 1, score +0.00, best Nc6");
}

TEST(ThinkingTextTest, MatesAreCountedInMovesAndAStaleMoveIsLeftOut) {
    // Black mates with Qh4#.
    Position black = fromFen("rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq g3 0 2");
    EXPECT_EQ(thinkingText(report(1, -100000, "d8h4"), black), "depth 1, mate in 1, best Qh4#");
    Position white = fromFen("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3");
    EXPECT_EQ(thinkingText(report(5, -99990, "e2e4"), white), "depth 5, mated in 3");
}

TEST(RequestCoalescerTest, RequestsWithinAnIntervalAreServedOnceAtItsEnd) {
    using namespace std::chrono;
    std::atomic<int> runs{0};
    const auto waitForRuns = [&](int n) {
        const auto end = steady_clock::now() + seconds(5);
        while (runs < n && steady_clock::now() < end) {
            std::this_thread::sleep_for(milliseconds(5));
        }
        return steady_clock::now();
    };
    {
        RequestCoalescer coalescer(milliseconds(300), [&] { ++runs; });
        coalescer.request();
        const auto first = waitForRuns(1);
        for (int i = 0; i < 10000; ++i) {
            coalescer.request();
        }
        EXPECT_EQ(runs, 1) << "a burst right after a run waits for the interval";
        const auto second = waitForRuns(2);
        EXPECT_GE(second - first, milliseconds(250));
        std::this_thread::sleep_for(milliseconds(400));
        EXPECT_EQ(runs, 2);
    }
    // Ending does not wait for the interval nor run the action again.
    EXPECT_EQ(runs, 2);
}
