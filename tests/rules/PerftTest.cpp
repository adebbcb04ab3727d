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
