#include "PieceSets.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool sameSets(const PieceSets& a, const PieceSets& b) {
    return std::memcmp(a.byCode, b.byCode, sizeof a.byCode) == 0 && a.white == b.white &&
           a.black == b.black && std::memcmp(a.count, b.count, sizeof a.count) == 0;
}

bool sameEntry(const Move& a, const Move& b) {
    return a.toString() == b.toString() && a.isCapture == b.isCapture && a.isLegal == b.isLegal &&
           a.piece == b.piece;
}

// What the frontier listing keeps of an all-pieces entry.
bool frontierKeeps(const Position& p, const Move& m) {
    if (!m.isCapture) {
        return isWhitePiece(m.piece) == (p.sideToMove == 1);
    }
    const int occupant = p.at(m.toFile, m.toRank);
    return occupant == Empty || isWhitePiece(occupant) != (p.sideToMove == 1);
}

// Checks one position against the board-based rules: carried sets, king tests, the legality of
// every all-pieces entry, and the frontier listing as a filter of the all-pieces one.
void checkNode(const Position& p, const PieceSets& carried) {
    ASSERT_TRUE(sameSets(carried, PieceSets::of(p))) << toFen(p);
    EXPECT_EQ(carried.whiteKingAttacked(p), p.isWhiteKingAttacked()) << toFen(p);
    EXPECT_EQ(carried.blackKingAttacked(p), p.isBlackKingAttacked()) << toFen(p);

    Position generating = p, scratch = p;
    MoveList all(&generating), frontier(&generating);
    const int n = p.generateMoves(all, scratch, true, carried);
    const int f = p.generateFrontierMoves(frontier, scratch, carried);
    int k = 0;
    for (int i = 0; i < n; ++i) {
        const Move& m = all[i];
        if (m.piece != WhiteKing && m.piece != BlackKing) {
            const bool exposed = isWhitePiece(m.piece) ? p.leavesWhiteKingAttacked(m, scratch)
                                                       : p.leavesBlackKingAttacked(m, scratch);
            EXPECT_FALSE(exposed) << m.toString() << " in " << toFen(p);
        }
        if (frontierKeeps(p, m)) {
            ASSERT_LT(k, f) << toFen(p);
            EXPECT_TRUE(sameEntry(m, frontier[k++])) << m.toString() << " in " << toFen(p);
        }
    }
    EXPECT_EQ(k, f) << toFen(p);
}

} // namespace

// Random games from positions rich in pins, checks, castling, en passant and promotions.
TEST(PieceSetsTest, AgreeWithTheBoardAlongRandomGames) {
    const char* starts[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    };
    uint32_t seed = 12345;
    for (const char* fen : starts) {
        for (int game = 0; game < 12; ++game) {
            Position p = fromFen(fen);
            PieceSets sets = PieceSets::of(p);
            for (int ply = 0; ply < 60; ++ply) {
                checkNode(p, sets);
                if (::testing::Test::HasFatalFailure()) {
                    return;
                }
                Position scratch = p;
                MoveList moves(&p);
                const int n = p.generateMoves(moves, scratch, false, sets);
                if (n == 0) {
                    break;
                }
                seed = seed * 1664525u + 1013904223u;
                const Move& m = moves[static_cast<int>((seed >> 8) % static_cast<uint32_t>(n))];
                const Position before = p;
                p.makeMove(m);
                sets.followMove(m, before);
            }
        }
    }
}
