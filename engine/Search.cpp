#include "Search.h"

#include "Clock.h"
#include "Evaluation.h"
#include "MoveGenerator.h"
#include "PieceValues.h"
#include "ThreadPool.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <limits>

bool searchUsesSee = true;

namespace {

// Attackers of one square for one side, cheapest first; a new entry goes after equal ones.
struct AttackerList {
    int pieces[64];
    int count = 0;
    int taken = 0;

    void insert(int piece) {
        if (count == 64) {
            return;
        }
        const int value = pieceValue(piece);
        int at = count;
        while (at > 0 && pieceValue(pieces[at - 1]) > value) {
            pieces[at] = pieces[at - 1];
            --at;
        }
        pieces[at] = piece;
        ++count;
    }
    void removeLast(int piece) {
        for (int k = count - 1; k >= 0; --k) {
            if (pieces[k] == piece) {
                std::copy(pieces + k + 1, pieces + count, pieces + k);
                --count;
                return;
            }
        }
    }
    bool exhausted() const { return taken >= count; }
};

} // namespace

namespace {

// The exchange that a capture onto the square starts, from the attacker lists of both sides
// (the capturer's own entry taken out); victim is the piece now standing on the square.
int resolveExchange(AttackerList lists[2], int victim, bool whiteToCapture) {
    if (lists[whiteToCapture ? 1 : 0].count == 0) {
        return 0;
    }
    int gain = 0;
    for (;;) {
        AttackerList& own = lists[whiteToCapture ? 1 : 0];
        AttackerList& other = lists[whiteToCapture ? 0 : 1];
        if (other.exhausted()) {
            return whiteToCapture ? gain + pieceValue(victim) : gain - pieceValue(victim);
        }
        const int attacker = own.pieces[own.taken++];
        if (pieceValue(attacker) > pieceValue(victim)) {
            return gain;
        }
        gain += whiteToCapture ? pieceValue(victim) : -pieceValue(victim);
        victim = attacker;
        whiteToCapture = !whiteToCapture;
    }
}

// What a pawn capturing onto its last rank counts as: its queen entry only, standing for the
// piece that the capture being evaluated put there when that capture is a pawn's too.
int promotingAttacker(int queen, int arrived, bool capturerIsPawn) {
    return capturerIsPawn ? arrived : queen;
}

} // namespace

int Position::staticExchange(const Move* list, int count, int index) const {
    const Move& capture = list[index];
    const int targetFile = capture.toFile, targetRank = capture.toRank;
    const int victim = at(targetFile, targetRank);
    const bool whiteToCapture = sideToMove == 1;
    const bool capturerIsPawn = capture.piece == WhitePawn || capture.piece == BlackPawn;

    AttackerList lists[2]; // [1] White, [0] Black
    for (int k = 0; k < count; ++k) {
        const Move& m = list[k];
        if (!m.isCapture || m.toFile != targetFile || m.toRank != targetRank) {
            continue;
        }
        int piece = m.piece;
        const bool promotes =
            (m.piece == WhitePawn && m.toRank == 8) || (m.piece == BlackPawn && m.toRank == 1);
        if (promotes) {
            if (m.resultPiece != WhiteQueen && m.resultPiece != BlackQueen) {
                continue;
            }
            piece = promotingAttacker(m.resultPiece, victim, capturerIsPawn);
        }
        lists[isWhitePiece(m.piece) ? 1 : 0].insert(piece);
    }
    lists[whiteToCapture ? 0 : 1].removeLast(victim);
    return resolveExchange(lists, victim, whiteToCapture);
}

namespace {

// Position::staticExchange of the position after the capture, with the attacker lists taken
// from the pieces that can capture on the square instead of from the whole all-pieces listing
// of the position before it: the same pieces, and so the same result.
int exchangeAfter(const Move& capture, MoveGenerator& before) {
    // An en-passant capture arrives on an empty square, where the other side has no entry.
    if (capture.captureFile != capture.toFile || capture.captureRank != capture.toRank) {
        return 0;
    }
    const int cell = squareIndex(capture.toFile, capture.toRank);
    const int victim = capture.resultPiece; // what stands on the square after the capture
    const Position& node = before.position();
    const bool whiteToCapture = node.sideToMove != 1;
    const bool capturerIsPawn = capture.piece == WhitePawn || capture.piece == BlackPawn;
    AttackerList lists[2]; // [1] White, [0] Black
    for (int side = 0; side < 2; ++side) {
        const bool white = side == 1;
        const int lastRank = white ? 8 : 1;
        for (uint64_t from = before.capturersOf(cell, white); from; from &= from - 1) {
            const int piece = node.board[geometry.cellOf[std::countr_zero(from)]];
            const bool promotes =
                (piece == WhitePawn || piece == BlackPawn) && capture.toRank == lastRank;
            lists[side].insert(promotes ? promotingAttacker(white ? WhiteQueen : BlackQueen, victim,
                                                            capturerIsPawn)
                                        : piece);
        }
    }
    lists[whiteToCapture ? 0 : 1].removeLast(victim);
    return resolveExchange(lists, victim, whiteToCapture);
}

// Whether the all-pieces listing of a position with these pieces could come near the end of a
// MoveList, where the generator leaves the remaining pieces out. The last ply then takes that
// listing itself, so that it leaves out the same moves and exchange entries.
bool listingMayFill(const PieceSets& pieces) {
    const uint8_t* n = pieces.count;
    // The most entries a piece of each kind can have: a king 8 steps and 2 castlings, a pawn
    // 3 times 4 promotions.
    const int bound = 10 * (n[WhiteKing] + n[BlackKing]) + 27 * (n[WhiteQueen] + n[BlackQueen]) +
                      14 * (n[WhiteRook] + n[BlackRook]) + 13 * (n[WhiteBishop] + n[BlackBishop]) +
                      8 * (n[WhiteKnight] + n[BlackKnight]) + 12 * (n[WhitePawn] + n[BlackPawn]);
    return bound + maxEntriesPerPiece > MoveList::capacity;
}

// Hands the side to move's moves to visit in the order of the whole listing, generating them one
// piece at a time, so that the pieces after a cut-off are never generated. Stops, and returns
// true, when visit does. The generator's scratch position must equal its position again
// whenever visit returns.
template <typename Visit>
bool forEachMoveUntil(MoveGenerator& generator, uint64_t ownPieces, Move* list, Visit visit) {
    if (generator.listsNothing()) {
        return false;
    }
    for (; ownPieces; ownPieces &= ownPieces - 1) {
        const int n = generator.pieceEntries(std::countr_zero(ownPieces), list);
        for (int i = 0; i < n; ++i) {
            if (visit(static_cast<const Move&>(list[i]))) {
                return true;
            }
        }
    }
    return false;
}

// The score of the leaf that m leads to; exchange() gives the correction of a capture.
template <typename Exchange>
int leafScore(LeafScorer& scorer, Position& next, Position& below, const Move& m, Move* childList,
              Exchange exchange) {
    int score = scorer.score(m, childList, next, below);
    if (m.isCapture && searchUsesSee) {
        score += exchange();
    }
    return score;
}

// Cut-offs between two readings of the clock. A reading costs more than a frontier node, and a
// thread passes this many cut-offs in well under a millisecond; a stop needs no reading at all.
constexpr int cutOffsPerClockReading = 64;

// The running best of a node: takes each move's score and says when the node is cut off.
template <bool White> struct NodeResult {
    int alpha, beta;
    const SearchStack& stack;
    int value = White ? -MateScore : MateScore;
    bool searched = false;

    // True at a cut-off, with value the score to return (fail-soft); throws ThreadDeath when
    // the search has been stopped or its deadline has passed.
    bool cutsOff(int score) {
        searched = true;
        if (White ? score >= beta : score <= alpha) {
            const int64_t deadline = searchDeadline.load(std::memory_order_relaxed);
            if (deadline == std::numeric_limits<int64_t>::min()) {
                throw ThreadDeath(); // stopped: no clock is before that
            }
            if (stack.cutOffsBeforeClock > 0) {
                --stack.cutOffsBeforeClock;
            } else {
                stack.cutOffsBeforeClock = cutOffsPerClockReading - 1;
                if (clockTicks() >= deadline) {
                    throw ThreadDeath();
                }
            }
            value = score;
            return true;
        }
        if (White ? score > value : score < value) {
            value = score;
            if (White) {
                alpha = std::max(alpha, score);
            } else {
                beta = std::min(beta, score);
            }
        }
        return false;
    }
};

// The node procedure for both sides; White maximises.
template <bool White>
int alphaBeta(int alpha, int beta, int depthLeft, int ply, const SearchStack& stack, int slot,
              const NodeSets& sets, Move* list, bool quietArrival) {
    // The window narrows on the way down and a cut-off returns before it closes; the stack has
    // a slot for every ply left, and one more for the scratch board of the leaves.
    assert(alpha < beta && alpha >= -MateScore - 1 && beta <= MateScore + 1);
    assert(depthLeft >= 0 && ply == slot + 1 && slot + depthLeft + 1 == stack.lastSlot);
    Position& node = stack.slots[slot];
    Position& next = stack.slots[slot + 1];
    assert(!checksEveryNode || sets.describe(node));
    assert(node.sideToMove == (White ? 1 : 0));
    if (depthLeft == 0) {
        return evaluateWithSets(node, sets, list, next);
    }
    if (node.halfmoveClock > 100) {
        return 0;
    }
    if (quietArrival && depthLeft == 1 && node.sideToMove == rootSide) {
        const int standing = evaluateWithSets(node, sets, list, next);
        if (White ? standing < alpha - 100 : standing > beta + 100) {
            return White ? alpha : beta;
        }
    } else if (ply <= 4 && node.isRepetition()) {
        return 0;
    }

    Move* childList = list + MoveList::capacity;
    NodeResult<White> result{alpha, beta, stack};
    if (depthLeft == 1 && listingMayFill(sets.pieces)) {
        // The last ply with the listing that the exchange evaluation reads whole.
        const int count = node.generateFrontierMoves(list, next, sets.pieces);
        Position& below = stack.slots[slot + 2];
        LeafScorer scorer(node, sets);
        for (int i = 0; i < count; ++i) {
            const Move& m = list[i];
            if (!m.isLegal) {
                continue;
            }
            const int score = leafScore(scorer, next, below, m, childList, [&] {
                next.makeMove(m);
                const int exchange = next.staticExchange(list, count, i);
                next.unmakeMove(m, node);
                return exchange;
            });
            if (result.cutsOff(score)) {
                return result.value;
            }
        }
    } else if (depthLeft == 1) {
        // The last ply: the exchange evaluation asks only for the pieces that can capture on
        // its square.
        Position& below = stack.slots[slot + 2];
        LeafScorer scorer(node, sets);
        MoveGenerator generator(node, sets.pieces, list, next, Listing::SideToMove);
        if (forEachMoveUntil(generator, sets.pieces.ofSide(White), list, [&](const Move& m) {
                return result.cutsOff(leafScore(scorer, next, below, m, childList,
                                                [&] { return exchangeAfter(m, generator); }));
            })) {
            return result.value;
        }
    } else {
        MoveGenerator generator(node, sets.pieces, list, next, Listing::SideToMove);
        if (forEachMoveUntil(generator, sets.pieces.ofSide(White), list, [&](const Move& m) {
                NodeSets childSets = sets;
                childSets.followMove(m, node);
                for (int s = slot + 1; s <= stack.lastSlot; ++s) {
                    stack.slots[s].makeMove(m);
                }
                const int score =
                    alphaBeta<!White>(result.alpha, result.beta, depthLeft - 1, ply + 1, stack,
                                      slot + 1, childSets, childList, !m.isCapture);
                for (int s = slot + 1; s <= stack.lastSlot; ++s) {
                    stack.slots[s].unmakeMove(m, node);
                }
                return result.cutsOff(score);
            })) {
            return result.value;
        }
    }
    if (result.searched) {
        return result.value;
    }
    const PieceSets& pieces = sets.pieces;
    const bool inCheck = White ? pieces.whiteKingAttacked(node) : pieces.blackKingAttacked(node);
    if (inCheck && !node.drawClaimed && !pieces.insufficientMaterial() &&
        !MoveGenerator(node, pieces, childList, next, Listing::SideToMove).hasEntry()) {
        return White ? -MateScore : MateScore;
    }
    return 0;
}

} // namespace

int alphaBetaMax(int alpha, int beta, int depthLeft, int ply, const SearchStack& stack, int slot,
                 Move* list, bool quietArrival) {
    return alphaBeta<true>(alpha, beta, depthLeft, ply, stack, slot,
                           NodeSets::of(stack.slots[slot]), list, quietArrival);
}

int alphaBetaMin(int alpha, int beta, int depthLeft, int ply, const SearchStack& stack, int slot,
                 Move* list, bool quietArrival) {
    return alphaBeta<false>(alpha, beta, depthLeft, ply, stack, slot,
                            NodeSets::of(stack.slots[slot]), list, quietArrival);
}
