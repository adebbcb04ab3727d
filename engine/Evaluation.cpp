#include "Evaluation.h"

#include "MoveGenerator.h"
#include "NodeCounter.h"
#include "PieceValues.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstdint>

namespace {

// White king, middle game, rank 8 first, files a to h.
constexpr int16_t whiteKingMiddle[8][8] = {
    {-30, -40, -40, -50, -50, -40, -40, -30},
    {-30, -40, -40, -50, -50, -40, -40, -30},
    {-30, -40, -40, -50, -50, -40, -40, -30},
    {-30, -40, -40, -50, -50, -40, -40, -30},
    {-20, -30, -30, -40, -40, -30, -30, -20},
    {-10, -20, -20, -20, -20, -20, -20, -10},
    {20, 20, 0, 0, 0, 0, 20, 20},
    {20, 45, 10, 0, 0, 10, 45, 20},
};

// White king, end game, rank 8 first, files a to h.
constexpr int16_t whiteKingEnd[8][8] = {
    {-50, -40, -30, -20, -20, -30, -40, -50}, {-30, -20, -10, 0, 0, -10, -20, -30},
    {-30, -10, 20, 30, 30, 20, -10, -30},     {-30, -10, 30, 40, 40, 30, -10, -30},
    {-30, -10, 30, 40, 40, 30, -10, -30},     {-30, -10, 20, 30, 30, 20, -10, -30},
    {-30, -30, 0, 0, 0, 0, -30, -30},         {-50, -30, -30, -30, -30, -30, -30, -50},
};

// White bishop, rank 8 first, files a to h.
constexpr int16_t whiteBishop[8][8] = {
    {-20, -10, -10, -10, -10, -10, -10, -20},
    {-10, 0, 0, 0, 0, 0, 0, -10},
    {-10, 0, 5, 10, 10, 5, 0, -10},
    {-10, 5, 5, 10, 10, 5, 5, -10},
    {-10, 0, 10, 10, 10, 10, 0, -10},
    {-10, 10, 10, 10, 10, 10, 10, -10},
    {-10, 5, 0, 0, 0, 0, 5, -10},
    {-20, -10, -40, -10, -10, -40, -10, -20},
};

// White knight, rank 8 first, files a to h.
constexpr int16_t whiteKnight[8][8] = {
    {-50, -40, -20, -30, -30, -20, -40, -50}, {-40, -20, 0, 0, 0, 0, -20, -40},
    {-30, 0, 10, 15, 15, 10, 0, -30},         {-30, 5, 15, 20, 20, 15, 5, -30},
    {-30, 0, 15, 20, 20, 15, 0, -30},         {-30, 5, 10, 15, 15, 10, 5, -30},
    {-40, -20, 0, 5, 5, 0, -20, -40},         {-50, -40, -30, -30, -30, -30, -40, -50},
};

// White pawn, rank 8 first, files a to h.
constexpr int16_t whitePawn[8][8] = {
    {50, 50, 50, 50, 50, 50, 50, 50}, {30, 30, 40, 50, 50, 40, 30, 30},
    {10, 10, 20, 30, 30, 20, 10, 10}, {5, 5, 10, 25, 25, 10, 5, 5},
    {0, 0, 0, 20, 20, 0, 0, 0},       {5, -5, -10, 0, 0, -10, -5, 5},
    {5, 10, 10, -20, -20, 10, 10, 5}, {0, 0, 0, 0, 0, 0, 0, 0},
};

// Black's tables hold values already negated, so that every entry is simply added. They are
// not White's mirrored everywhere: the king's middle game has -10 on a7 and h7 where the mirror
// of a2 and h2 gives -20, and the bishop's ranks 3, 4, 5 and 6 are White's ranks 4, 3, 6 and 5
// negated, where the mirror would take 6, 5, 4 and 3. They stay so on purpose: the engine's
// play and the pinned search figures (node counts, chosen moves) come from these very numbers,
// and so a mirrored position does not always evaluate to the negated score.

// Black king, middle game, rank 8 first, files a to h.
constexpr int16_t blackKingMiddle[8][8] = {
    {-20, -45, -10, 0, 0, -10, -45, -20}, {-10, -20, 0, 0, 0, 0, -20, -10},
    {10, 20, 20, 20, 20, 20, 20, 10},     {20, 30, 30, 40, 40, 30, 30, 20},
    {30, 40, 40, 50, 50, 40, 40, 30},     {30, 40, 40, 50, 50, 40, 40, 30},
    {30, 40, 40, 50, 50, 40, 40, 30},     {30, 40, 40, 50, 50, 40, 40, 30},
};

// Black king, end game, rank 8 first, files a to h.
constexpr int16_t blackKingEnd[8][8] = {
    {50, 30, 30, 30, 30, 30, 30, 50},     {30, 30, 0, 0, 0, 0, 30, 30},
    {30, 10, -20, -30, -30, -20, 10, 30}, {30, 10, -30, -40, -40, -30, 10, 30},
    {30, 10, -30, -40, -40, -30, 10, 30}, {30, 10, -20, -30, -30, -20, 10, 30},
    {30, 20, 10, 0, 0, 10, 20, 30},       {50, 40, 30, 20, 20, 30, 40, 50},
};

// Black bishop, rank 8 first, files a to h.
constexpr int16_t blackBishop[8][8] = {
    {20, 10, 40, 10, 10, 40, 10, 20},
    {10, -5, 0, 0, 0, 0, -5, 10},
    {10, -5, -5, -10, -10, -5, -5, 10},
    {10, 0, -5, -10, -10, -5, 0, 10},
    {10, -10, -10, -10, -10, -10, -10, 10},
    {10, 0, -10, -10, -10, -10, 0, 10},
    {10, 0, 0, 0, 0, 0, 0, 10},
    {20, 10, 10, 10, 10, 10, 10, 20},
};

// Black knight, rank 8 first, files a to h.
constexpr int16_t blackKnight[8][8] = {
    {50, 40, 30, 30, 30, 30, 40, 50},     {40, 20, 0, -5, -5, 0, 20, 40},
    {30, -5, -10, -15, -15, -10, -5, 30}, {30, 0, -15, -20, -20, -15, 0, 30},
    {30, -5, -15, -20, -20, -15, -5, 30}, {30, 0, -10, -15, -15, -10, 0, 30},
    {40, 20, 0, 0, 0, 0, 20, 40},         {50, 40, 20, 30, 30, 20, 40, 50},
};

// Black pawn, rank 8 first, files a to h.
constexpr int16_t blackPawn[8][8] = {
    {0, 0, 0, 0, 0, 0, 0, 0},
    {-5, -10, -10, 20, 20, -10, -10, -5},
    {-5, 5, 10, 0, 0, 10, 5, -5},
    {0, 0, 0, -20, -20, 0, 0, 0},
    {-5, -5, -10, -25, -25, -10, -5, -5},
    {-10, -10, -20, -30, -30, -20, -10, -10},
    {-30, -30, -40, -50, -50, -40, -30, -30},
    {-50, -50, -50, -50, -50, -50, -50, -50},
};

// The tables above indexed by square bit (a1 = 0, b1 = 1, ...).
struct SquareTables {
    int32_t piece[13][64];    // pawn, knight and bishop tables by piece code; zero elsewhere
    int32_t whiteKing[2][64]; // middle game, end game
    int32_t blackKing[2][64];

    constexpr SquareTables() : piece{}, whiteKing{}, blackKing{} {
        for (int file = 1; file <= 8; ++file) {
            for (int rank = 1; rank <= 8; ++rank) {
                const int cell = squareBit(file, rank);
                const int row = 8 - rank, column = file - 1;
                piece[WhitePawn][cell] = whitePawn[row][column];
                piece[WhiteKnight][cell] = whiteKnight[row][column];
                piece[WhiteBishop][cell] = whiteBishop[row][column];
                piece[BlackPawn][cell] = blackPawn[row][column];
                piece[BlackKnight][cell] = blackKnight[row][column];
                piece[BlackBishop][cell] = blackBishop[row][column];
                whiteKing[0][cell] = whiteKingMiddle[row][column];
                whiteKing[1][cell] = whiteKingEnd[row][column];
                blackKing[0][cell] = blackKingMiddle[row][column];
                blackKing[1][cell] = blackKingEnd[row][column];
            }
        }
    }
};

constexpr SquareTables squareTables;

// Sum of a table over the squares of a set.
int tableSum(const int32_t* table, uint64_t squares) {
    int sum = 0;
    for (; squares; squares &= squares - 1) {
        sum += table[std::countr_zero(squares)];
    }
    return sum;
}

// Passed pawns are few: counting them one by one beats a library call for a bit count.
int squareCount(uint64_t squares) {
    int n = 0;
    for (; squares; squares &= squares - 1) {
        ++n;
    }
    return n;
}

// All squares of a set and the squares below them (towards rank 1) on the same files.
constexpr uint64_t fillDown(uint64_t set) {
    set |= set >> 8;
    set |= set >> 16;
    return set | set >> 32;
}
constexpr uint64_t fillUp(uint64_t set) {
    set |= set << 8;
    set |= set << 16;
    return set | set << 32;
}

constexpr uint64_t rankSquares(int rank) {
    return uint64_t{0xFF} << (rank - 1) * 8;
}

constexpr double oneThirtieth = 0.03333333333333333;

// The middle-game and end-game weights for each number of pieces besides the kings, the same
// doubles as computed on the spot: (pieces - 2) / 30 and (32 - pieces) / 30.
struct PhaseWeights {
    double middle, end;
};
struct PhaseWeightTable {
    PhaseWeights of[65]; // a board holds at most 64 pieces
    constexpr PhaseWeightTable() : of{} {
        for (int pieces = 0; pieces <= 64; ++pieces) {
            of[pieces] = {(pieces - 2) * oneThirtieth, (32 - pieces) * oneThirtieth};
        }
    }
};
constexpr PhaseWeightTable phaseWeights;

} // namespace

TableSums TableSums::of(const PieceSets& sets) {
    TableSums sums{};
    for (const int code :
         {WhitePawn, WhiteKnight, WhiteBishop, BlackPawn, BlackKnight, BlackBishop}) {
        sums.pieces += tableSum(squareTables.piece[code], sets.byCode[code]);
    }
    for (int phase = 0; phase < 2; ++phase) {
        sums.whiteKing[phase] = tableSum(squareTables.whiteKing[phase], sets.byCode[WhiteKing]);
        sums.blackKing[phase] = tableSum(squareTables.blackKing[phase], sets.byCode[BlackKing]);
    }
    return sums;
}

void TableSums::change(int code, int cell, int sign) {
    const int bit = geometry.bitOf[cell];
    pieces += sign * squareTables.piece[code][bit];
    if (code == WhiteKing) {
        whiteKing[0] += sign * squareTables.whiteKing[0][bit];
        whiteKing[1] += sign * squareTables.whiteKing[1][bit];
    } else if (code == BlackKing) {
        blackKing[0] += sign * squareTables.blackKing[0][bit];
        blackKing[1] += sign * squareTables.blackKing[1][bit];
    }
}

void TableSums::followMove(const Move& m, const Position& before) {
    // Every cell that the move writes loses what it held before, once, and the target gains
    // the arriving piece.
    const int from = squareIndex(m.fromFile, m.fromRank);
    const int to = squareIndex(m.toFile, m.toRank);
    const int capture = m.isCapture ? squareIndex(m.captureFile, m.captureRank) : -1;
    if (capture >= 0) {
        change(before.board[capture], capture, -1);
    }
    if (from != capture) {
        change(before.board[from], from, -1);
    }
    if (to != capture && to != from) {
        change(before.board[to], to, -1);
    }
    change(m.resultPiece, to, 1);
    if (m.hasCompanion) {
        followMove(*m.companion, before);
    }
}

bool NodeSets::describe(const Position& position) const {
    const NodeSets fresh = NodeSets::of(position);
    return std::ranges::equal(pieces.byCode, fresh.pieces.byCode) &&
           pieces.white == fresh.pieces.white && pieces.black == fresh.pieces.black &&
           std::ranges::equal(pieces.count, fresh.pieces.count) && tables == fresh.tables;
}

int32_t Position::evaluate(Move* list, Position& scratch) const {
    return evaluateWithSets(*this, NodeSets::of(*this), list, scratch);
}

namespace {

// The first test of a mate: the side to move is in check, and the game is not over otherwise.
bool mayBeMated(const Position& position, const PieceSets& sets) {
    const bool inCheck = position.sideToMove == 0 ? sets.blackKingAttacked(position)
                                                  : sets.whiteKingAttacked(position);
    return inCheck && !position.drawClaimed && !sets.insufficientMaterial();
}

// The rest of the test, for a side that may be mated: it has no legal move. The first move found
// settles it, and one is found at almost every such node.
bool isMated(const Position& position, const PieceSets& sets, Move* list, Position& scratch) {
    return !MoveGenerator(position, sets, list, scratch, Listing::SideToMove).hasEntry();
}

int32_t mateScore(const Position& position) {
    return position.sideToMove == 0 ? MateScore : -MateScore;
}

int32_t staticScore(int halfmoveClock, const NodeSets& sets);

// For the debug builds' check of a leaf scored without making its move: its carried sets and
// static score against the move made and everything computed afresh.
[[maybe_unused]] bool agreesWithMadeMove(const Position& node, const Move& arrival,
                                         const PieceSets& pieces, int32_t score) {
    Position made = node;
    made.makeMove(arrival);
    const NodeSets fresh = NodeSets::of(made);
    return NodeSets{pieces, fresh.tables}.describe(made) &&
           score == staticScore(made.halfmoveClock, fresh);
}

} // namespace

// Everything of the static score but the piece tables' sum, which is added to it unless the
// position is drawn by its material.
ScoreParts scoreParts(const PieceSets& pieceSets, const TableSums& tables);

int32_t evaluateWithSets(const Position& position, const NodeSets& sets, Move* list,
                         Position& scratch) {
    ++nodeCount;
    if (mayBeMated(position, sets.pieces) && isMated(position, sets.pieces, list, scratch)) {
        return mateScore(position);
    }
    return staticScore(position.halfmoveClock, sets);
}

namespace {

// Does the piece (code) on square bit `from` attack the square bit `target` over the occupancy?
bool attacksSquare(int code, int from, int target, uint64_t occupancy) {
    const uint64_t source = uint64_t{1} << from;
    switch (isWhitePiece(code) ? code : code - 6) {
    case WhiteKnight:
        return (geometry.knightMask[target] & source) != 0;
    case WhiteKing:
        return (geometry.kingMask[target] & source) != 0;
    case WhitePawn:
        return (geometry.pawnAttackers[isWhitePiece(code) ? 1 : 0][target] & source) != 0;
    default: {
        const int d = geometry.rayTowards[target][from];
        const bool straight = code == WhiteRook || code == BlackRook;
        const bool diagonal = code == WhiteBishop || code == BlackBishop;
        if (d < 0 || (straight && d >= 4) || (diagonal && d < 4)) {
            return false;
        }
        return PieceSets::nearestOnRay(d, geometry.rayMask[target][d] & occupancy) == source;
    }
    }
}

} // namespace

bool LeafScorer::leafInCheck(const Move& arrival, const PieceSets& leafPieces) {
    const bool whiteMoved = node_.sideToMove == 1;
    if (!kingKnown_) {
        const int file = whiteMoved ? node_.blackKingFile : node_.whiteKingFile;
        const int rank = whiteMoved ? node_.blackKingRank : node_.whiteKingRank;
        const int king = whiteMoved ? BlackKing : WhiteKing;
        if (onBoard(file, rank) && node_.at(file, rank) == king) {
            kingBit_ = squareBit(file, rank);
            kingAttackedAtNode_ = sets_.pieces.attacked(kingBit_, whiteMoved);
        }
        kingKnown_ = true;
    }
    if (kingBit_ < 0) {
        return false; // a side without a king on its record is never in check
    }
    const uint64_t occupancy = leafPieces.occupied();
    if (kingAttackedAtNode_) {
        return leafPieces.attacked(kingBit_, whiteMoved);
    }
    // Unattacked before the move, the king is attacked after it only by a piece that moved, or
    // by a slider on a line that a vacated square opened.
    const auto movedPieceChecks = [&](const Move& m) {
        return attacksSquare(m.resultPiece, squareBit(m.toFile, m.toRank), kingBit_, occupancy);
    };
    const auto lineOpened = [&](int vacated) {
        const int d = geometry.rayTowards[kingBit_][vacated];
        if (d < 0) {
            return false;
        }
        const uint64_t blockers = geometry.rayMask[kingBit_][d] & occupancy;
        const int k = whiteMoved ? 0 : 6;
        const uint64_t sliders = leafPieces.byCode[WhiteQueen + k] |
                                 leafPieces.byCode[(d < 4 ? WhiteRook : WhiteBishop) + k];
        return blockers != 0 && (PieceSets::nearestOnRay(d, blockers) & sliders) != 0;
    };
    if (movedPieceChecks(arrival) || lineOpened(squareBit(arrival.fromFile, arrival.fromRank))) {
        return true;
    }
    if (arrival.isCapture &&
        (arrival.captureFile != arrival.toFile || arrival.captureRank != arrival.toRank) &&
        lineOpened(squareBit(arrival.captureFile, arrival.captureRank))) {
        return true; // en passant
    }
    if (arrival.hasCompanion) {
        const Move& rook = *arrival.companion;
        return movedPieceChecks(rook) || lineOpened(squareBit(rook.fromFile, rook.fromRank));
    }
    return false;
}

int32_t LeafScorer::score(const Move& arrival, Move* list, Position& leaf, Position& scratch) {
    assert(!checksEveryNode || (leaf.samePositionAs(node_) && scratch.samePositionAs(node_)));
    ++nodeCount;
    PieceSets pieces = sets_.pieces;
    pieces.followMove(arrival, node_);
    const bool whiteMoved = node_.sideToMove == 1;
    const int taken =
        arrival.isCapture ? node_.at(arrival.captureFile, arrival.captureRank) : Empty;
    bool inCheck;
    if (taken == WhiteKing || taken == BlackKing) {
        // Only set-ups let a king be taken, and then the record may follow another king.
        leaf.makeMove(arrival);
        inCheck = whiteMoved ? pieces.blackKingAttacked(leaf) : pieces.whiteKingAttacked(leaf);
        leaf.unmakeMove(arrival, node_);
    } else {
        inCheck = leafInCheck(arrival, pieces);
        assert(!checksEveryNode || inCheck == (whiteMoved ? pieces.blackKingAttacked(node_)
                                                          : pieces.whiteKingAttacked(node_)));
    }
    if (inCheck && !node_.drawClaimed && !pieces.insufficientMaterial()) {
        leaf.makeMove(arrival);
        scratch.makeMove(arrival);
        const bool mated = isMated(leaf, pieces, list, scratch);
        scratch.unmakeMove(arrival, node_);
        leaf.unmakeMove(arrival, node_);
        if (mated) {
            return whiteMoved ? MateScore : -MateScore;
        }
    }
    const int halfmoveClock = leafHalfmoveClock(node_, arrival);
    int32_t result;
    if (halfmoveClock > 100) {
        result = 0;
    } else if (const int kind = arrival.piece > WhitePawn ? arrival.piece - 6 : arrival.piece;
               !arrival.isCapture && !arrival.hasCompanion && kind >= WhiteQueen &&
               kind <= WhiteKnight) {
        // Counts, pawns and kings stay: only the piece's table entry changes.
        if (!nodePartsKnown_) {
            nodeParts_ = scoreParts(sets_.pieces, sets_.tables);
            nodePartsKnown_ = true;
        }
        const int32_t* table = squareTables.piece[arrival.piece];
        result = nodeParts_.drawn ? 0
                                  : nodeParts_.others + sets_.tables.pieces +
                                        table[squareBit(arrival.toFile, arrival.toRank)] -
                                        table[squareBit(arrival.fromFile, arrival.fromRank)];
    } else {
        TableSums tables = sets_.tables;
        tables.followMove(arrival, node_);
        const ScoreParts parts = scoreParts(pieces, tables);
        result = parts.drawn ? 0 : parts.others + tables.pieces;
    }
    assert(!checksEveryNode || agreesWithMadeMove(node_, arrival, pieces, result));
    return result;
}

ScoreParts scoreParts(const PieceSets& pieceSets, const TableSums& tables) {
    const uint8_t* counts = pieceSets.count;
    const int whiteKingMiddleSum = tables.whiteKing[0];
    const int whiteKingEndSum = tables.whiteKing[1];
    const int blackKingMiddleSum = tables.blackKing[0];
    const int blackKingEndSum = tables.blackKing[1];

    // A White pawn on ranks 2 to 6 is passed when no Black pawn stands ahead of it on its file
    // before rank 8; a Black pawn on ranks 3 to 7 likewise, looking down to rank 2.
    const uint64_t whitePawns = pieceSets.byCode[WhitePawn];
    const uint64_t blackPawns = pieceSets.byCode[BlackPawn];
    const uint64_t blocksWhite = fillDown((blackPawns & ~rankSquares(8)) >> 8);
    const uint64_t blocksBlack = fillUp((whitePawns & ~rankSquares(1)) << 8);
    const uint64_t whiteCandidates =
        whitePawns & ~rankSquares(1) & ~rankSquares(7) & ~rankSquares(8);
    const uint64_t blackCandidates =
        blackPawns & ~rankSquares(1) & ~rankSquares(2) & ~rankSquares(8);
    const int whitePassed = squareCount(whiteCandidates & ~blocksWhite);
    const int blackPassed = squareCount(blackCandidates & ~blocksBlack);
    const int whiteHeavy = counts[WhitePawn] + counts[WhiteRook] + counts[WhiteQueen];
    const int blackHeavy = counts[BlackPawn] + counts[BlackRook] + counts[BlackQueen];
    const int whiteMinors = counts[WhiteBishop] + counts[WhiteKnight];
    const int blackMinors = counts[BlackBishop] + counts[BlackKnight];
    if (whiteHeavy == 0 && blackHeavy == 0 && whiteMinors + blackMinors <= 1) {
        return {true, 0};
    }

    int pieces = 0;
    for (int code = WhiteQueen; code <= BlackPawn; ++code) {
        if (code != BlackKing) {
            pieces += counts[code];
        }
    }
    const PhaseWeights& weights = phaseWeights.of[pieces];
    const double middleWeight = weights.middle;
    const double endWeight = weights.end;
    const int whiteKingTerm =
        static_cast<int>(whiteKingMiddleSum * middleWeight + whiteKingEndSum * endWeight);
    const int blackKingTerm =
        static_cast<int>(blackKingMiddleSum * middleWeight + blackKingEndSum * endWeight);
    // No passed pawn, no bonus: 0 times a weight is 0.
    const int whitePassedBonus =
        whitePassed == 0 ? 0 : static_cast<int>((whitePassed * endWeight) * 10.0);
    const int blackPassedBonus =
        blackPassed == 0 ? 0 : static_cast<int>((blackPassed * endWeight) * 10.0);

    // Constants, so that even the sanitizer builds' light optimisation calls nothing here.
    constexpr int queen = pieceValue(WhiteQueen), rook = pieceValue(WhiteRook);
    constexpr int minor = pieceValue(WhiteBishop), pawn = pieceValue(WhitePawn);
    static_assert(pieceValue(WhiteKnight) == minor, "the minor pieces are counted as one");
    const int material = queen * (counts[WhiteQueen] - counts[BlackQueen]) +
                         rook * (counts[WhiteRook] - counts[BlackRook]) +
                         minor * (whiteMinors - blackMinors) +
                         pawn * (counts[WhitePawn] - counts[BlackPawn]);
    int correction = 0;
    if (whiteHeavy == 0 && whiteMinors <= 1) {
        correction = -500;
    } else if (blackHeavy == 0 && blackMinors <= 1) {
        correction = 500;
    }
    return {false, material + correction + whitePassedBonus - blackPassedBonus + whiteKingTerm +
                       blackKingTerm};
}

namespace {

int32_t staticScore(int halfmoveClock, const NodeSets& sets) {
    if (halfmoveClock > 100) {
        return 0;
    }
    const ScoreParts parts = scoreParts(sets.pieces, sets.tables);
    return parts.drawn ? 0 : parts.others + sets.tables.pieces;
}

} // namespace
