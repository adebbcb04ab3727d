#include "Perft.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

namespace {

struct PerftCase {
    const char* fen;
    std::vector<uint64_t> counts; // depth 1, 2, ...
};

void expectCounts(const PerftCase& c, int maxDepth) {
    const Position p = fromFen(c.fen);
    for (int depth = 1; depth <= maxDepth && depth <= static_cast<int>(c.counts.size()); ++depth) {
        EXPECT_EQ(perft(p, depth), c.counts[depth - 1]) << c.fen << " depth " << depth;
    }
}

#ifdef VELTMARK_SANITIZED
constexpr bool sanitized = true;
#else
constexpr bool sanitized = false;
#endif

} // namespace

TEST(PerftTest, StartingPosition) {
    expectCounts({"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                  {20, 400, 8902, 197281, 4865609}},
                 sanitized ? 4 : 5);
}

TEST(PerftTest, CastlingPromotionAndEnPassantRichPosition) {
    expectCounts({"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
                  {48, 2039, 97862, 4085603}},
                 sanitized ? 3 : 4);
}

// Positions chosen for what they exercise; the counts are the standard ones, which the
// insufficient-material rule of the generator does not touch at these depths.
TEST(PerftTest, EndgameWithEnPassantPins) {
    expectCounts({"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", {14, 191, 2812, 43238, 674624}},
                 sanitized ? 4 : 5);
    // The en-passant capture would expose the king along the rank.
    expectCounts({"3k4/3p4/8/K1P4r/8/8/8/8 b - - 0 1", {18, 92, 1670, 10138, 185429, 1134888}},
                 sanitized ? 5 : 6);
}

TEST(PerftTest, PromotionsWithCaptureAndCastling) {
    expectCounts({"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
                  {6, 264, 9467, 422333}},
                 sanitized ? 3 : 4);
    expectCounts(
        {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", {44, 1486, 62379, 2103487}},
        sanitized ? 3 : 4);
    expectCounts({"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
                  {46, 2079, 89890, 3894594}},
                 sanitized ? 3 : 4);
}

TEST(PerftTest, CastlingThroughAndOutOfCheck) {
    // Castling rights lost by captures and king or rook moves.
    expectCounts({"r3k2r/1b4bq/8/8/8/8/7B/R3K2R w KQkq - 0 1", {26, 1141, 27826, 1274206}},
                 sanitized ? 3 : 4);
    // Castling prevented by attacked transit squares.
    expectCounts({"r3k2r/8/3Q4/8/8/5q2/8/R3K2R b KQkq - 0 1", {44, 1494, 50509, 1720476}},
                 sanitized ? 3 : 4);
    // Double check: only king moves.
    expectCounts({"8/8/2k5/5q2/5n2/8/5K2/8 b - - 0 1", {37, 183, 6559, 23527}}, 4);
}
