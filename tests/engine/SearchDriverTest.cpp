#include "Clock.h"
#include "NodeCounter.h"
#include "PieceValues.h"
#include "RecordingUserInterface.h"
#include "SearchControl.h"
#include "Settings.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

constexpr int plentyOfTime = 1000000000;

// Every reading advances this clock by a millisecond, so a one-thread search's time is the count
// of its clock readings and a budget ends it at the same cut-off in every build.
std::atomic<int64_t> clockReadings{0};
int64_t countingClock() {
    return clockReadings.fetch_add(10000);
}

// A game with its search pool, as a front-end holds them.
class SearchDriverTest : public ::testing::Test {
protected:
    void start(const std::string& fen, int threads = 1) {
        game.reset(); // one game record at a time: the redo head is process-wide
        game = std::make_unique<Game>(fen);
        settings = defaultSettings();
        settings.threadCount = static_cast<uint8_t>(threads);
        createSearchPool(&game->position, threads);
    }
    void TearDown() override {
        setClockSource(nullptr);
        destroySearchPool();
        game.reset();
        settings = defaultSettings();
    }
    Move search(int depth, int timeMs = plentyOfTime) {
        return game->position.bestMove(timeMs, depth);
    }
    std::vector<std::string> legalMoves() { return moveTexts(game->position); }

    ScopedRecordingUserInterface ui;
    std::unique_ptr<Game> game;
};

bool contains(const std::vector<std::string>& texts, const std::string& t) {
    return std::find(texts.begin(), texts.end(), t) != texts.end();
}

} // namespace

TEST_F(SearchDriverTest, MateInOneStopsTheDeepening) {
    start("6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1");
    const Move m = search(20);
    EXPECT_EQ(m.toString(), "d1d8");
    ASSERT_FALSE(ui.ui.reports.empty());
    EXPECT_EQ(ui.ui.reports.back().score, MateScore);
    EXPECT_EQ(ui.ui.reports.back().depth, 1);
    EXPECT_EQ(m.position, &game->position);
}

TEST_F(SearchDriverTest, BlackFindsMateInOne) {
    start("3r2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1");
    EXPECT_EQ(search(20).toString(), "d8d1");
    EXPECT_EQ(ui.ui.reports.back().score, -MateScore);
    EXPECT_EQ(ui.ui.reports.back().depth, 1);
}

TEST_F(SearchDriverTest, MateInTwo) {
    start("7k/8/5K2/8/8/8/8/R7 w - - 0 1");
    const Move m = search(20);
    EXPECT_EQ(ui.ui.reports.back().score, MateScore);
    EXPECT_EQ(ui.ui.reports.back().depth, 3);
    // Either king move that takes g7 and h7 away leads to the mate.
    EXPECT_TRUE(m.toString() == "f6f7" || m.toString() == "f6g6") << m.toString();
}

TEST_F(SearchDriverTest, SingleThreadSearchIsDeterministic) {
    const char* fen = "r1bq1rk1/pp2nppp/2n1p3/3pP3/1b1P4/2NB1N2/PP3PPP/R1BQK2R w KQ - 0 9";
    std::string firstMove;
    uint64_t firstNodes = 0;
    int firstScore = 0;
    for (int run = 0; run < 2; ++run) {
        start(fen);
        const Move m = search(4);
        const SearchReport last = ui.ui.reports.back();
        if (run == 0) {
            firstMove = m.toString();
            firstNodes = nodeCount.load();
            firstScore = last.score;
        } else {
            EXPECT_EQ(m.toString(), firstMove);
            EXPECT_EQ(nodeCount.load(), firstNodes);
            EXPECT_EQ(last.score, firstScore);
        }
        EXPECT_TRUE(contains(legalMoves(), m.toString()));
        destroySearchPool();
        ui.ui.reports.clear();
    }
}

TEST_F(SearchDriverTest, ReportsComeOncePerIterationAndOnImprovement) {
    start("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3");
    search(4);
    int lastDepth = 0;
    uint64_t lastNodes = 0;
    for (const auto& r : ui.ui.reports) {
        EXPECT_GE(r.depth, lastDepth);
        EXPECT_GE(r.nodes, lastNodes);
        lastDepth = r.depth;
        lastNodes = r.nodes;
        EXPECT_TRUE(contains(legalMoves(), r.bestMoveText)) << r.bestMoveText;
    }
    // One report settles each iteration, so every depth appears.
    for (int depth = 1; depth <= 4; ++depth) {
        EXPECT_TRUE(std::any_of(ui.ui.reports.begin(), ui.ui.reports.end(),
                                [&](const SearchReport& r) { return r.depth == depth; }));
    }
}

TEST_F(SearchDriverTest, OnlyMoveAndNoMove) {
    start("R5k1/5pp1/8/8/8/8/8/6K1 b - - 0 1");
    ASSERT_EQ(legalMoves().size(), 1u);
    EXPECT_EQ(search(3).toString(), "g8h7");
    destroySearchPool();
    start("R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1");
    EXPECT_THROW(search(3), NoLegalMovesException);
}

TEST_F(SearchDriverTest, DepthOneUsesTheExchangeCorrection) {
    start("4k3/8/2p5/3p4/8/8/8/3QK3 w - - 0 1");
    settings.useSee = 1;
    EXPECT_NE(search(1).toString(), "d1d5");
    destroySearchPool();
    start("4k3/8/2p5/3p4/8/8/8/3QK3 w - - 0 1");
    settings.useSee = 0;
    EXPECT_EQ(search(1).toString(), "d1d5");
}

TEST_F(SearchDriverTest, ClaimsAClaimableDrawScoredZero) {
    start("4k3/8/8/4p3/4P3/8/8/4K3 w - - 101 1");
    search(3);
    EXPECT_EQ(ui.ui.drawClaims, 1);
    destroySearchPool();
    start("4k3/8/8/4p3/4P3/8/8/4K3 w - - 60 1");
    search(3);
    EXPECT_EQ(ui.ui.drawClaims, 1) << "nothing to claim at 60 half-moves";
}

TEST_F(SearchDriverTest, TinyBudgetStillCompletesDepthOne) {
    start("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3", 2);
    const Move m = search(50, 1);
    EXPECT_TRUE(contains(legalMoves(), m.toString()));
    ASSERT_FALSE(ui.ui.reports.empty());
    EXPECT_EQ(ui.ui.reports.front().depth, 1);
}

TEST_F(SearchDriverTest, StopSearchEndsAMultiThreadedSearch) {
    start("r1bq1rk1/pp2nppp/2n1p3/3pP3/1b1P4/2NB1N2/PP3PPP/R1BQK2R w KQ - 0 9", 2);
    std::string move;
    auto finished = std::chrono::steady_clock::time_point{};
    std::thread engine([&] {
        move = search(100).toString();
        finished = std::chrono::steady_clock::now();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto stopped = std::chrono::steady_clock::now();
    stopSearch();
    engine.join();
    EXPECT_TRUE(contains(legalMoves(), move)) << move;
    // Behaviour, not speed: the search must not run on to its depth limit (which would take
    // far longer than this generous bound).
    EXPECT_LT(finished - stopped, std::chrono::seconds(5));
    // The pool is idle again and can be resized and used after the stop.
    searchPool->resize(1);
    EXPECT_EQ(search(2).position, &game->position);
}

TEST_F(SearchDriverTest, StopBeforeTheSearchBeginsEndsItAfterDepthOne) {
    start("r1bq1rk1/pp2nppp/2n1p3/3pP3/1b1P4/2NB1N2/PP3PPP/R1BQK2R w KQ - 0 9", 2);
    stopSearch();
    const auto begun = std::chrono::steady_clock::now();
    EXPECT_TRUE(contains(legalMoves(), search(100, 20000).toString()));
    EXPECT_LT(std::chrono::steady_clock::now() - begun, std::chrono::seconds(5));
    ASSERT_FALSE(ui.ui.reports.empty());
    EXPECT_EQ(ui.ui.reports.back().depth, 1);
    // The stop holds until the front-end starts its next turn.
    clearSearchStop();
    ui.ui.reports.clear();
    search(3);
    EXPECT_EQ(ui.ui.reports.back().depth, 3);
}

// The next iteration is cut at its first cut-off, before its first move (the last iteration's
// choice) completes: the claim must follow that move's own score from the depth before.
TEST_F(SearchDriverTest, ClaimAfterACutIterationFollowsTheReturnedMovesScore) {
    struct Case {
        const char* fen;
        int depth;
        const char* move;
        int score;
        int claims;
    };
    const Case cases[] = {
        // At depth 5 d2d4 (+40) overtakes b1c3 (0), the entry that searched first.
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 100 1", 5, "d2d4", 40, 0},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 100 1", 3, "d7d5", -40, 0},
        {"4k3/pppp4/8/8/8/8/PPPP4/4K3 w - - 100 1", 4, "d2d4", 0, 1},
    };
    setClockSource(countingClock);
    for (const Case& c : cases) {
        start(c.fen);
        int64_t before = clockReadings.load();
        search(c.depth);
        const int64_t readingsToDepth = (clockReadings.load() - before) / 10000;
        ui.ui.reports.clear();
        ui.ui.drawClaims = 0;

        // One reading more than that search made: the next iteration's first cut-off is late.
        before = clockReadings.load();
        const Move m = search(c.depth + 1, static_cast<int>(readingsToDepth) + 10);
        EXPECT_EQ((clockReadings.load() - before) / 10000, readingsToDepth + 2)
            << c.fen << ": the next iteration was not cut at its first cut-off";
        EXPECT_EQ(m.toString(), c.move) << c.fen;
        ASSERT_FALSE(ui.ui.reports.empty());
        EXPECT_EQ(ui.ui.reports.back().depth, c.depth) << c.fen;
        EXPECT_EQ(ui.ui.reports.back().bestMoveText, c.move) << c.fen;
        EXPECT_EQ(ui.ui.reports.back().score, c.score) << c.fen;
        EXPECT_EQ(ui.ui.drawClaims, c.claims) << c.fen;
        destroySearchPool();
        ui.ui.reports.clear();
        ui.ui.drawClaims = 0;
    }
}

// Both front-ends turn the time per move into bestMove's budget this way; a long time must not
// wrap into a short or negative one.
TEST(ThinkingTimeTest, WholeMillisecondsSaturatedAtTheInt32Limit) {
    EXPECT_EQ(thinkingTimeMs(2.5), 2500);
    EXPECT_EQ(thinkingTimeMs(0.0015), 1);
    EXPECT_EQ(thinkingTimeMs(2147483.647), 2147483647);
    EXPECT_EQ(thinkingTimeMs(1e12), 2147483647);
}
