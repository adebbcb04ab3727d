#include "NodeCounter.h"
#include "PieceValues.h"
#include "RecordingUserInterface.h"
#include "SearchControl.h"
#include "Settings.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct PinnedSearch {
    const char* fen;
    int depth;
    bool useSee;
    const char* move;
    uint64_t nodes;
    // Every progress report: depth, score, node count and best move, "; " between reports.
    const char* reports;
};

// What a one-thread search gave before the engine was tuned for speed. Any change to a move, a
// score or a node count means the search visits a different tree.
constexpr PinnedSearch pinnedSearches[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 5, true, "b1c3", 75309,
     "1 50 1 b1c3; 2 0 40 b1c3; 3 50 257 b1c3; 4 0 2411 b1c3; "
     "5 40 17863 b1c3"},
    {"r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3", 4, true, "b1c3", 31137,
     "1 50 1 b1c3; 2 0 58 b1c3; 3 50 594 b1c3; 4 0 10185 b1c3"},
    {"r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4", 5, true, "b1c3",
     351572,
     "1 5 1 b1c3; 2 -37 69 b1c3; 3 5 531 b1c3; 3 116 3018 f3g5; "
     "4 -89 9045 f3g5; 4 -80 37369 c4d5; 5 0 62448 c4d5; "
     "5 20 205627 b1c3"},
    {"rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3", 5, true, "f1d3", 121188,
     "1 65 1 b1c3; 1 211 31 e5f6; 2 -60 60 e5f6; 2 15 84 b1c3; "
     "3 65 500 b1c3; 3 80 881 d1h5; 4 25 2586 d1h5; "
     "4 30 7147 f1b5; 5 86 15299 f1b5; 5 95 79436 f1d3"},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 4, true, "e2a6", 28395,
     "1 100 1 a1b1; 1 109 5 e1f1; 1 142 7 e1g1; 1 680 21 e2a6; "
     "2 256 84 e2a6; 3 286 329 e2a6; 4 40 7621 e2a6"},
    // A half-move clock of 20 lets the repetition test walk the searched line.
    {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 20 10", 4, true, "c3d5",
     73097,
     "1 0 1 a1a2; 1 10 23 c3d5; 1 20 27 d3d4; 2 -211 91 d3d4; "
     "2 -20 137 a1a2; 2 5 688 g5f6; 3 25 1794 g5f6; "
     "3 30 5689 c3d5; 4 36 30814 c3d5"},
    {"2rq1rk1/pp1bppbp/3p1np1/4n3/3NP3/1BN1BP2/PPPQ2PP/2KR3R b - - 0 11", 4, true, "e5c4", 183294,
     "1 44 1 e5g4; 1 39 2 e5c6; 1 34 3 e5c4; 1 9 6 d6d5; "
     "2 242 79 d6d5; 2 70 151 e5c6; 2 65 187 e5c4; 2 60 317 a7a6; "
     "2 55 448 d7c6; 2 40 487 e7e6; 3 20 682 e7e6; "
     "4 163 11069 e7e6; 4 70 22271 e5c4"},
    {"r1b1kb1r/pppp1ppp/5q2/4n3/3KP3/2N3PN/PPP4P/R1BQ1B1R b kq - 0 1", 4, true, "b7b6", 27924,
     "1 370 1 e5g6; 1 365 3 e5c6; 1 360 4 e5c4; 1 355 7 f6f5; "
     "1 335 29 d7d6; 1 315 30 d7d5; 1 305 39 f8d6; 2 355 79 f8d6; "
     "3 319 746 f8d6; 3 315 6895 f8b4; 4 369 11193 f8b4; "
     "4 367 23812 b7b6"},
    {"r1bq1rk1/pp2nppp/2n1p3/3pP3/1b1P4/2NB1N2/PP3PPP/R1BQK2R w KQ - 0 9", 4, false, "e1g1", 51432,
     "1 -9 1 a1b1; 1 31 2 c1d2; 1 41 3 c1e3; 1 179 31 d3h7; "
     "2 -381 41 d3h7; 3 -331 259 d3h7; 3 -26 490 a1b1; "
     "3 44 999 c1d2; 4 -381 13710 c1d2; 4 -316 26164 c1g5; "
     "4 -288 36141 e1e2; 4 -280 40330 e1f1; 4 -251 45220 e1g1"},
    // Mate in two, found at depth 3, ends the deepening.
    {"r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 1", 4, true, "d5f6", 2808,
     "1 -1689 1 a1b1; 1 -1099 3 a1d1; 2 -1738 78 a1d1; "
     "2 -1728 221 g5e7; 3 -1138 717 g5e7; 3 100000 1982 d5f6"},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 6, true, "b4f4", 28957,
     "1 -5 1 e2e3; 1 15 2 e2e4; 1 194 11 b4f4; 2 177 16 b4f4; "
     "3 217 55 b4f4; 4 -13 154 b4f4; 5 186 2113 b4f4; "
     "6 146 13628 b4f4"},
    {"8/1P6/8/8/8/k7/6p1/4K3 w - - 0 1", 7, true, "e1f2", 50772,
     "1 30 1 e1e2; 1 1770 5 b7b8q; 2 0 14 b7b8q; 3 30 34 b7b8q; "
     "4 30 107 b7b8q; 4 706 263 e1f2; 5 1940 1577 e1f2; "
     "6 2427 9938 e1f2; 7 2468 50636 e1f2"},
    {"n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1", 5, true, "g2h1q", 71784,
     "1 -1770 1 g2g1q; 1 -2320 5 g2h1q; 2 0 45 g2h1q; "
     "2 -90 62 g2g1n; 2 -362 115 g2f1q; 3 -653 190 g2f1q; "
     "4 1117 1737 g2f1q; 4 -505 2481 g2h1q; 5 -913 11716 g2h1q"},
    {"4k3/8/8/8/8/8/4P3/4K3 w - - 0 1", 10, true, "e1d2", 161729,
     "1 690 1 e1d1; 1 720 3 e1d2; 1 730 6 e2e4; 2 700 11 e2e4; "
     "3 730 31 e2e4; 4 699 116 e2e4; 5 730 341 e2e4; "
     "6 719 1223 e2e4; 7 719 3311 e2e4; 7 741 7500 e1d2; "
     "8 740 16181 e1d2; 9 745 47824 e1d2; 10 746 131865 e1d2"},
    // The fifty-move limit falls inside the tree.
    {"8/8/4k3/8/2R5/8/4K3/8 w - - 96 1", 7, true, "e2e3", 12267,
     "1 1500 1 e2e3; 2 1489 30 e2e3; 3 1489 124 e2e3; "
     "3 1500 474 c4c5; 4 1469 1152 c4c5; 4 1500 1295 e2e3; "
     "5 0 2610 e2e3; 6 0 12267 e2e3; 7 0 12267 e2e3"},
    // In check at the root.
    {"rnbqk1nr/pppp1ppp/8/4p3/1b1P4/5N2/PPP1PPPP/RNBQKB1R w KQkq - 2 3", 5, true, "c2c3", 53869,
     "1 45 1 b1d2; 1 50 2 b1c3; 2 0 40 b1c3; 3 29 317 b1c3; "
     "3 55 695 b1d2; 3 95 1103 c1d2; 4 45 4814 c1d2; "
     "4 161 8848 c2c3; 5 219 46091 c2c3"},
    // Black may take en passant.
    {"rnbqkbnr/pppp1ppp/8/8/3PpP2/8/PPP1P1PP/RNBQKBNR b KQkq f3 0 3", 5, true, "f8d6", 98768,
     "1 -20 1 e4e3; 1 -211 2 e4f3; 2 60 60 e4f3; 2 35 89 a7a6; "
     "2 15 118 d7d6; 2 -5 141 d7d5; 2 -15 171 b8c6; "
     "3 -65 346 b8c6; 3 -80 1108 d8h4; 4 -30 1771 d8h4; "
     "4 -35 5307 f8b4; 5 -86 14916 f8b4; 5 -95 88067 f8d6"},
    // Promotions with capture, and checks.
    {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 4, true, "d7c8q", 23639,
     "1 110 1 b1d2; 1 115 2 b1c3; 1 673 16 e1f2; 2 378 72 e1f2; "
     "3 428 576 e1f2; 3 618 907 d7c8q; 4 573 11627 d7c8q"},
    // In check, promotions of both colours, castling rights.
    {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 4, false, "g1h1", 8695,
     "1 221 1 f1f2; 1 261 3 d2d4; 2 -2510 49 d2d4; "
     "3 -511 236 d2d4; 4 -2510 2374 d2d4; 4 -1186 6035 g1h1"},
    // So many queens that the last ply falls back on the whole listing.
    {"1q1q1q1k/q1q1q1q1/1q1q1q1q/8/8/Q1Q1Q1Q1/1Q1Q1Q1Q/K1Q1Q1Q1 w - - 0 1", 3, true, "e3h6", 2858,
     "1 6 1 a1a2; 1 23 2 a1b1; 2 -1978 158 a1b1; 2 -17 237 a1a2; "
     "2 0 1027 b2b6; 2 1978 1163 e3h6; 3 2000 1305 e3h6"},
};

std::string reportsOf(const std::vector<SearchReport>& reports) {
    std::string text;
    for (const SearchReport& r : reports) {
        text += (text.empty() ? "" : "; ") + std::to_string(r.depth) + " " +
                std::to_string(r.score) + " " + std::to_string(r.nodes) + " " + r.bestMoveText;
    }
    return text;
}

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

        EXPECT_EQ(best.toString(), pinned.move) << pinned.fen;
        EXPECT_EQ(nodes, pinned.nodes) << pinned.fen;
        EXPECT_EQ(reportsOf(ui.ui.reports), pinned.reports) << pinned.fen;
        ui.ui.reports.clear();
    }
    settings = defaultSettings();
}
