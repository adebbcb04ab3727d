#include "Search.h"

#include "Clock.h"
#include "Evaluation.h"
#include "PieceValues.h"
#include "ThreadPool.h"

#include <algorithm>
#include <cassert>

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

int Position::staticExchange(const Move* list, int count, int index) const {
    const Move& capture = list[index];
    const int targetFile = capture.toFile, targetRank = capture.toRank;
    int victim = at(targetFile, targetRank);
    bool whiteToCapture = sideToMove == 1;
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
            piece = capturerIsPawn ? victim : m.resultPiece;
        }
        lists[isWhitePiece(m.piece) ? 1 : 0].insert(piece);
    }
    lists[whiteToCapture ? 0 : 1].removeLast(victim);
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

namespace {

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

    // At the last ply only the moves searched and the captures that the exchange evaluation
    // reads are listed.
    const int count = depthLeft == 1 ? node.generateFrontierMoves(list, next, sets.pieces)
                                     : node.generateMoves(list, next, false, sets.pieces);
    Move* childList = list + MoveList::capacity;
    int result = White ? -MateScore : MateScore;
    bool searched = false;
    for (int i = 0; i < count; ++i) {
        const Move& m = list[i];
        if (depthLeft == 1 && !m.isLegal) {
            continue;
        }
        NodeSets childSets = sets;
        childSets.followMove(m, node);
        int score;
        if (depthLeft == 1) {
            // A leaf needs its scratch slot only to look for mate; the slot keeps this node and
            // the move is made on it just then.
            next.makeMove(m);
            assert(!checksEveryNode || childSets.describe(next));
            score = evaluateArrival(next, childSets, childList, stack.slots[slot + 2], m, node);
            if (m.isCapture && searchUsesSee) {
                score += next.staticExchange(list, count, i);
            }
            next.unmakeMove(m, node);
        } else {
            for (int s = slot + 1; s <= stack.lastSlot; ++s) {
                stack.slots[s].makeMove(m);
            }
            score = White ? alphaBeta<false>(alpha, beta, depthLeft - 1, ply + 1, stack, slot + 1,
                                             childSets, childList, !m.isCapture)
                          : alphaBeta<true>(alpha, beta, depthLeft - 1, ply + 1, stack, slot + 1,
                                            childSets, childList, !m.isCapture);
            for (int s = slot + 1; s <= stack.lastSlot; ++s) {
                stack.slots[s].unmakeMove(m, node);
            }
        }
        searched = true;
        if (White ? score >= beta : score <= alpha) {
            // The clock is read only here, where a deadline can cut the tree short.
            if (clockTicks() < searchDeadline.load(std::memory_order_relaxed)) {
                return score;
            }
            throw ThreadDeath();
        }
        if (White ? score > result : score < result) {
            result = score;
            if (White) {
                alpha = std::max(alpha, score);
            } else {
                beta = std::min(beta, score);
            }
        }
    }
    if (searched) {
        return result;
    }
    const PieceSets& pieces = sets.pieces;
    const bool inCheck = White ? pieces.whiteKingAttacked(node) : pieces.blackKingAttacked(node);
    if (inCheck && !node.drawClaimed && !pieces.insufficientMaterial() &&
        node.generateMoves(childList, next, false, pieces) == 0) {
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
