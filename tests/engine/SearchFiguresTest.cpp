#include "NodeCounter.h"
#include "PieceValues.h"
#include "RecordingUserInterface.h"
#include "SearchControl.h"
#include "Settings.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

namespace {

struct PinnedSearch {
    const char* fen;
    int depth;
    bool useSee;
    const char* move;
    int score;
    uint64_t nodes;
};

// What a one-thread search gave before the engine was tuned for speed. Any change to the move,
// the score or the node count means the search visits a different tree.
constexpr PinnedSearch pinnedSearches[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 5, true, "b1c3", 40, 75309},
    {"r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3", 4, true, "b1c3", 0, 31137},
    {"r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4", 5, true, "b1c3", 20,
     351572},
    {"rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3", 5, true, "f1d3", 95, 121188},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 4, true, "e2a6", 40,
     28395},
    // A half-move clock of 20 lets the repetition test walk the searched line.
    {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 20 10", 4, true, "c3d5",
     36, 73097},
    {"2rq1rk1/pp1bppbp/3p1np1/4n3/3NP3/1BN1BP2/PPPQ2PP/2KR3R b - - 0 11", 4, true, "e5c4", 70,
     183294},
    {"r1b1kb1r/pppp1ppp/5q2/4n3/3KP3/2N3PN/PPP4P/R1BQ1B1R b kq - 0 1", 4, true, "b7b6", 367, 27924},
    {"r1bq1rk1/pp2nppp/2n1p3/3pP3/1b1P4/2NB1N2/PP3PPP/R1BQK2R w KQ - 0 9", 4, false, "e1g1", -251,
     51432},
    // Mate in two, found at depth 3, ends the deepening.
    {"r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 1", 4, true, "d5f6",
     MateScore, 2808},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 6, true, "b4f4", 146, 28957},
    {"8/1P6/8/8/8/k7/6p1/4K3 w - - 0 1", 7, true, "e1f2", 2468, 50772},
    {"n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1", 5, true, "g2h1q", -913, 71784},
    {"4k3/8/8/8/8/8/4P3/4K3 w - - 0 1", 10, true, "e1d2", 746, 161729},
    // The fifty-move limit falls inside the tree.
    {"8/8/4k3/8/2R5/8/4K3/8 w - - 96 1", 7, true, "e2e3", 0, 12267},
};

} // namespace

TEST(SearchFiguresTest, OneThreadSearchesVisitThePinnedTrees) {
    ScopedRecordingUserInterface ui;
    for (const PinnedSearch& pinned : pinnedSearches) {
        Game game(pinned.fen);
        settings = defaultSettings();
        settings.threadCount = 1;
        settings.useSee = pinned.useSee;
        createSearchPool(&game.position, 1);
        const Move best = game.position.bestMove(1000000000, pinned.depth);
        const uint64_t nodes = nodeCount.load();
        destroySearchPool();

        ASSERT_FALSE(ui.ui.reports.empty()) << pinned.fen;
        EXPECT_EQ(best.toString(), pinned.move) << pinned.fen;
        EXPECT_EQ(ui.ui.reports.back().score, pinned.score) << pinned.fen;
        EXPECT_EQ(nodes, pinned.nodes) << pinned.fen;
        ui.ui.reports.clear();
    }
    settings = defaultSettings();
}
