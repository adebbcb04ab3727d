#pragma once

#include "Move.h"
#include "PieceSets.h"
#include "Position.h"

#include <cstdint>

// The piece-square sums of a position, kept up to date move by move like its square sets.
struct TableSums {
    int32_t pieces;       // pawn, knight and bishop tables of both colours
    int32_t whiteKing[2]; // middle game, end game
    int32_t blackKing[2];

    static TableSums of(const PieceSets& sets);
    bool operator==(const TableSums&) const = default;
    // Brings the sums from before's board to the board of before after makeMove(m).
    void followMove(const Move& m, const Position& before);

private:
    void change(int code, int cell, int sign);
};

// What the search carries along with each node's position.
struct NodeSets {
    PieceSets pieces;
    TableSums tables;

    static NodeSets of(const Position& position) {
        const PieceSets pieces = PieceSets::of(position);
        return {pieces, TableSums::of(pieces)};
    }
    void followMove(const Move& m, const Position& before) {
        pieces.followMove(m, before);
        tables.followMove(m, before);
    }
    // Whether the sets carried along are those of the position, as a fresh computation gives.
    bool describe(const Position& position) const;
};

// Whether the search checks at every node what it carries along (the sets, a leaf's scratch
// board) against a fresh computation: debug builds only, since that costs more than the node
// itself. The sanitizer builds keep the other asserts but not this one, as they run the whole
// suite.
#if defined(NDEBUG) || defined(VELTMARK_SANITIZED)
constexpr bool checksEveryNode = false;
#else
constexpr bool checksEveryNode = true;
#endif

// Position::evaluate for a position whose sets are at hand, as the search has them.
int32_t evaluateWithSets(const Position& position, const NodeSets& sets, Move* list,
                         Position& scratch);

// The parts of a static score: the whole score is 0 when drawn, else others plus the sum of the
// piece tables.
struct ScoreParts {
    bool drawn;     // by the material: no pawn, rook or queen and at most one minor piece
    int32_t others; // material, correction, passed pawns, king terms
};

// Evaluates the leaves below one node of the last ply without making their moves: the node and
// its sets stay as they are. Most leaves come from quiet moves of a queen, rook, bishop or knight,
// which change nothing in the static score but the piece tables' sum, so the rest of it is
// computed once for the node.
class LeafScorer {
public:
    LeafScorer(const Position& node, const NodeSets& sets) : node_(node), sets_(sets) {}

    // Position::evaluate of the position after arrival. The leaf and scratch positions equal the
    // node on entry and on return; the move is made on them only when the side to move at the
    // leaf is in check, to look for a mate.
    int32_t score(const Move& arrival, Move* list, Position& leaf, Position& scratch);

private:
    // Whether the side to move at the leaf, the node's other side, is in check there; the move
    // takes no king.
    bool leafInCheck(const Move& arrival, const PieceSets& leafPieces);

    const Position& node_;
    const NodeSets& sets_;
    bool nodePartsKnown_ = false;
    ScoreParts nodeParts_{};
    // The king of the node's other side: its square bit, -1 when its record holds no king, and
    // whether the side to move attacks it at the node already (set-ups only); found on first use.
    bool kingKnown_ = false;
    int kingBit_ = -1;
    bool kingAttackedAtNode_ = false;
};

// The half-move clock after the move, as makeMove sets it.
inline int leafHalfmoveClock(const Position& before, const Move& m) {
    const bool resets = m.piece == WhitePawn || m.piece == BlackPawn || m.isCapture;
    return resets ? 0 : before.halfmoveClock + 1;
}
