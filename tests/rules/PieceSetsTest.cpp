#include "PieceSets.h"
#include "MoveGenerator.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

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

// The generator's shortcuts against the whole listings they stand for: the count, the test for a
// first move, the side to move's listing piece by piece, and the pieces that can capture on a
// square (from the all-pieces entries onto it).
void checkGeneratorShortcuts(const Position& p, const PieceSets& sets, const Move* all, int n) {
    Position generating = p, scratch = p;
    MoveList legal(&generating), piece(&generating);
    const int count = p.generateMoves(legal, scratch, false, sets);
    MoveGenerator generator(p, sets, piece, scratch, Listing::SideToMove);
    EXPECT_EQ(generator.countEntries(), count) << toFen(p);
    EXPECT_EQ(generator.hasEntry(), count > 0) << toFen(p);
    if (!generator.listsNothing()) {
        int k = 0;
        for (uint64_t own = sets.ofSide(p.sideToMove == 1); own; own &= own - 1) {
            const int entries = generator.pieceEntries(std::countr_zero(own), piece);
            for (int i = 0; i < entries; ++i, ++k) {
                ASSERT_LT(k, count) << toFen(p);
                EXPECT_TRUE(sameEntry(piece[i], legal[k]) &&
                            piece[i].resultPiece == legal[k].resultPiece)
                    << piece[i].toString() << " in " << toFen(p);
            }
        }
        EXPECT_EQ(k, count) << toFen(p);
    }
    for (int bit = 0; bit < 64; ++bit) {
        const int cell = geometry.cellOf[bit];
        if (p.board[cell] == Empty) {
            continue;
        }
        uint64_t listed[2] = {0, 0};
        for (int i = 0; i < n; ++i) {
            if (all[i].isCapture && squareIndex(all[i].toFile, all[i].toRank) == cell) {
                listed[isWhitePiece(all[i].piece) ? 1 : 0] |=
                    uint64_t{1} << squareBit(all[i].fromFile, all[i].fromRank);
            }
        }
        EXPECT_EQ(generator.capturersOf(cell, true), listed[1]) << bit << " in " << toFen(p);
        EXPECT_EQ(generator.capturersOf(cell, false), listed[0]) << bit << " in " << toFen(p);
    }
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
    checkGeneratorShortcuts(p, carried, all.data(), n);
}

} // namespace

// Random games from positions rich in pins, checks, castling, en passant and promotions.
TEST(PieceSetsTest, AgreeWithTheBoardAlongRandomGames) {
    std::vector<Position> starts;
    for (const char* fen : {
             "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
             "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
             "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
             "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1",
             "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
             "r3k2r/8/3Q4/8/8/5q2/8/R3K2R b KQkq - 0 1",
             "3k4/3p4/8/K1P4r/8/8/8/8 b - - 0 1",
         }) {
        starts.push_back(fromFen(fen));
    }
    // Set-ups that edit mode allows and FEN does not: two kings of a colour (the record on the
    // one placed last, castling allowed), a colour without a king, pawns on their last ranks.
    starts.push_back(fromFen("4k3/8/8/8/8/8/8/K6R w - - 0 1"));
    starts.back().placePiece(5, 1, WhiteKing);
    starts.back().whiteCastleKingside = true;
    starts.push_back(fromFen("4k3/1P6/8/3q4/8/8/6p1/4K3 b - - 0 1"));
    starts.back().placePiece(5, 8, Empty);
    starts.push_back(fromFen("4k3/8/8/2b5/8/8/8/4K3 w - - 0 1"));
    starts.back().placePiece(1, 8, WhitePawn);
    starts.back().placePiece(8, 1, BlackPawn);
    uint32_t seed = 12345;
    for (const Position& start : starts) {
        for (int game = 0; game < 12; ++game) {
            Position p = start;
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
