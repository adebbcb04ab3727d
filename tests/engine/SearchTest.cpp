#include "Search.h"
#include "Clock.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

int findMove(const Move* list, int count, const std::string& text) {
    for (int i = 0; i < count; ++i) {
        if (list[i].toString() == text) {
            return i;
        }
    }
    return -1;
}

// The exchange value of one capture, as the search adds it at the frontier.
int exchangeAfter(const std::string& fen, const std::string& capture) {
    Position before = fromFen(fen);
    Position scratch = before;
    MoveList list(&before);
    const int n = before.generateMoves(list, scratch, true);
    const int i = findMove(list.data(), n, capture);
    EXPECT_GE(i, 0) << capture;
    if (i < 0) {
        return 0;
    }
    Position after = before;
    after.makeMove(list[i]);
    return after.staticExchange(list.data(), n, i);
}

// Searches one node the way a search thread does: the node in slot 0, one slot per ply below
// it and a last one as the leaves' scratch board; one move list per ply, leaves included.
int searchNode(const Position& node, int depthLeft, int alpha = -MateScore - 1,
               int beta = MateScore + 1, bool quietArrival = false, int ply = 1) {
    std::vector<Position> slots(static_cast<size_t>(depthLeft) + 2, node);
    for (size_t k = 1; k < slots.size(); ++k) {
        slots[k].previous = &slots[k - 1];
    }
    std::vector<Move> lists(static_cast<size_t>(depthLeft + 1) * MoveList::capacity,
                            Move(&slots.back()));
    const SearchStack stack{slots.data(), depthLeft + 1};
    return node.sideToMove == 1
               ? alphaBetaMax(alpha, beta, depthLeft, ply, stack, 0, lists.data(), quietArrival)
               : alphaBetaMin(alpha, beta, depthLeft, ply, stack, 0, lists.data(), quietArrival);
}

class SearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        searchDeadline.store(std::numeric_limits<int64_t>::max());
        searchUsesSee = true;
        rootSide = 1;
    }
};

} // namespace

TEST_F(SearchTest, StaticExchangeExamples) {
    // Pawn takes knight on d5; pawn and queen defend, a White knight attacks too. Black
    // recaptures pawn for pawn, then White's knight is worth more than the pawn: -200.
    EXPECT_EQ(exchangeAfter("3q3k/8/4p3/3n4/4P3/2N5/8/7K w - - 0 1", "e4d5"), -200);
    // Rook takes a pawn defended by a knight, no second White attacker: the rook is lost.
    EXPECT_EQ(exchangeAfter("7k/8/5n2/3p4/8/8/8/3R3K w - - 0 1", "d1d5"), -1000);
    // Nobody can recapture.
    EXPECT_EQ(exchangeAfter("7k/8/8/3p4/8/8/8/3R3K w - - 0 1", "d1d5"), 0);
    // Black captures: the signs turn. Knight takes a pawn defended by a pawn, no second
    // attacker: White wins the knight back.
    EXPECT_EQ(exchangeAfter("7k/8/8/4n3/8/3P4/2P5/7K b - - 0 1", "e5d3"), 600);
    // A king recaptures only when nothing else can answer.
    EXPECT_EQ(exchangeAfter("7k/8/8/8/8/8/5p2/4QK2 b - - 0 1", "f2e1q"), 2000);
}

TEST_F(SearchTest, MateIsScoredWithoutDistance) {
    const Position mated = fromFen("R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1");
    for (int depth = 0; depth <= 3; ++depth) {
        EXPECT_EQ(searchNode(mated, depth), MateScore) << depth;
    }
    // At depth left 1 the list holds White's entries too; all are skipped and the mate found.
    const Position whiteMated = fromFen("6k1/8/8/8/8/8/5PPP/3r2K1 w - - 0 1");
    EXPECT_EQ(searchNode(whiteMated, 1), -MateScore);
    // Mate in two (Kf6-f7 or Kg6 and Ra8) scores the same as mate in one.
    EXPECT_EQ(searchNode(fromFen("7k/8/5K2/8/8/8/8/R7 w - - 0 1"), 3), MateScore);
}

TEST_F(SearchTest, DrawsInsideTheTree) {
    EXPECT_EQ(searchNode(fromFen("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1"), 2), 0) << "stalemate";
    Position claimed = fromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    claimed.drawClaimed = true;
    EXPECT_EQ(searchNode(claimed, 2), 0);
    // 101 half-moves end the game before any move is looked at; 100 do not.
    // (At 100 the node is searched, and the captures of the pawn restart the clock.)
    EXPECT_EQ(searchNode(fromFen("4k3/8/8/8/8/8/3p4/3QK3 w - - 101 1"), 2), 0);
    EXPECT_GT(searchNode(fromFen("4k3/8/8/8/8/8/3p4/3QK3 w - - 100 1"), 2), 1000);
}

TEST_F(SearchTest, FrontierPruningMargin) {
    // White to move at depth left 1 after a quiet move, static score 2500 (K+Q vs K).
    const Position p = fromFen("4k3/8/8/8/8/8/8/3QK3 w - - 0 1");
    const int standing = 2500;
    // 101 below alpha: pruned, alpha comes back.
    EXPECT_EQ(searchNode(p, 1, standing + 101, MateScore + 1, true), standing + 101);
    // Exactly 100 below alpha: searched, and the best reply's own score comes back (fail-soft):
    // a king step to rank 2 gains 30 on the king's end-game table.
    EXPECT_EQ(searchNode(p, 1, standing + 100, MateScore + 1, true), 2530);
    // Not pruned when Black is the root side, nor after a capture.
    rootSide = 0;
    EXPECT_EQ(searchNode(p, 1, standing + 101, MateScore + 1, true), 2530);
    rootSide = 1;
    EXPECT_EQ(searchNode(p, 1, standing + 101, MateScore + 1, false), 2530);
}

TEST_F(SearchTest, ExchangeCorrectionAtTheFrontier) {
    // Queen takes a pawn defended by a pawn: with the correction the capture loses the queen.
    const Position p = fromFen("4k3/8/2p5/3p4/8/8/8/3QK3 w - - 0 1");
    searchUsesSee = false;
    const int greedy = searchNode(p, 1);
    searchUsesSee = true;
    const int careful = searchNode(p, 1);
    EXPECT_GT(greedy, careful);
}

TEST_F(SearchTest, PassedDeadlineUnwindsAtTheFirstCutOff) {
    const Position p = fromFen("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3");
    searchDeadline.store(std::numeric_limits<int64_t>::min());
    EXPECT_THROW(searchNode(p, 3), ThreadDeath);
    // A deadline just past, not a stop: the first cut-off of a search reads the clock.
    searchDeadline.store(clockTicks() - 1);
    EXPECT_THROW(searchNode(p, 3), ThreadDeath);
    searchDeadline.store(std::numeric_limits<int64_t>::min());
    // A node that cannot cut off never looks at the clock.
    EXPECT_NO_THROW(searchNode(p, 1));
}
