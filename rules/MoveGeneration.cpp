#include "MoveGenerator.h"

#include <cassert>

namespace {

// Is the square (on the board) attacked by the pieces of the colour whose king code is
// enemyKing?
bool squareAttacked(const int32_t* board, int file, int rank, int enemyKing) {
    const int sq = squareIndex(file, rank);
    const int knight = enemyKing + (WhiteKnight - WhiteKing);
    const int queen = enemyKing + (WhiteQueen - WhiteKing);
    const int rook = enemyKing + (WhiteRook - WhiteKing);
    const int bishop = enemyKing + (WhiteBishop - WhiteKing);
    const int pawn = enemyKing + (WhitePawn - WhiteKing);

    for (int j = 0; j < geometry.knightCount[sq]; ++j) {
        if (board[geometry.knight[sq][j]] == knight) {
            return true;
        }
    }
    for (int d = 0; d < 8; ++d) {
        const int straight = d < 4 ? rook : bishop;
        const uint8_t* path = geometry.ray[sq][d];
        for (int k = 0, n = geometry.rayLength[sq][d]; k < n; ++k) {
            const int occupant = board[path[k]];
            if (occupant != Empty) {
                if (occupant == queen || occupant == straight) {
                    return true;
                }
                break;
            }
        }
    }
    // A White king is attacked by Black pawns one rank above it, and vice versa.
    const int pawnRank = enemyKing == BlackKing ? rank + 1 : rank - 1;
    if (pawnRank >= 1 && pawnRank <= 8) {
        if (file > 1 && board[squareIndex(file - 1, pawnRank)] == pawn) {
            return true;
        }
        if (file < 8 && board[squareIndex(file + 1, pawnRank)] == pawn) {
            return true;
        }
    }
    for (int j = 0; j < geometry.kingCount[sq]; ++j) {
        if (board[geometry.king[sq][j]] == enemyKing) {
            return true;
        }
    }
    return false;
}

} // namespace

void MoveGenerator::rays(int firstDirection, int lastDirection) {
    for (int d = firstDirection; d < lastDirection; ++d) {
        const uint8_t* path = geometry.ray[from_][d];
        for (int k = 0, n = geometry.rayLength[from_][d]; k < n; ++k) {
            const int target = path[k];
            const int occupant = pos_.board[target];
            if (occupant == Empty) {
                if (!wanted(Empty)) {
                    ++omitted_;
                } else if (safeQuiet(target)) {
                    add(target);
                }
                continue;
            }
            const bool enemy = isWhitePiece(occupant) != white_;
            if (enemy || allPieces_) {
                if (!wanted(occupant)) {
                    ++omitted_;
                } else if (safe(target, target)) {
                    addCapture(target, target, enemy);
                }
            }
            break;
        }
    }
}

void MoveGenerator::jumps(bool king) {
    const uint8_t* targets = king ? geometry.king[from_] : geometry.knight[from_];
    const int n = king ? geometry.kingCount[from_] : geometry.knightCount[from_];
    for (int j = 0; j < n; ++j) {
        const int target = targets[j];
        const int occupant = pos_.board[target];
        const bool own = occupant != Empty && isWhitePiece(occupant) == white_;
        if (own && !allPieces_) {
            continue;
        }
        if (!wanted(occupant)) {
            ++omitted_;
            continue;
        }
        if (king) {
            Move& m = build(from_, target, piece_);
            if (occupant != Empty) {
                m.isCapture = true;
                m.captureFile = m.toFile;
                m.captureRank = m.toRank;
                m.isLegal = own_ && !own;
            }
            // In all-pieces mode a king keeps its unsafe entries, marked illegal.
            if (kingStepIsSafe(target)) {
                ++count_;
            } else if (allPieces_) {
                m.isLegal = false;
                ++count_;
            }
        } else if (occupant == Empty) {
            if (safeQuiet(target)) {
                add(target);
            }
        } else if (safe(target, target)) {
            addCapture(target, target, !own);
        }
    }
}

// The candidate in the next slot passed its test: keep it, as four promotions on the last rank.
void MoveGenerator::addPawnEntry(int promotionRank) {
    Move& m = list_[count_];
    if (m.toRank != promotionRank) {
        ++count_;
        return;
    }
    const int base = white_ ? 0 : 6;
    static constexpr int order[4] = {WhiteQueen, WhiteKnight, WhiteRook, WhiteBishop};
    assert(count_ + 4 <= capacity_);
    for (int k = 1; k < 4; ++k) {
        list_[count_ + k] = m;
    }
    for (int k = 0; k < 4; ++k) {
        list_[count_ + k].resultPiece = order[k] + base;
    }
    count_ += 4;
}

void MoveGenerator::pawn() {
    const int file = geometry.fileOf[from_], rank = geometry.rankOf[from_];
    const int forward = white_ ? 1 : -1;
    const int promotionRank = white_ ? 8 : 1;
    const int next = rank + forward;
    if (next < 1 || next > 8) {
        return; // a pawn set up on its last rank has nowhere to go
    }
    const int ahead = from_ + forward;
    if (pos_.board[ahead] == Empty) {
        if (!wanted(Empty)) {
            omitted_ += 4;
        } else if (safeQuiet(ahead)) {
            build(from_, ahead, piece_);
            addPawnEntry(promotionRank);
        }
        const int startRank = white_ ? 2 : 7;
        const int twoAhead = from_ + 2 * forward;
        if (rank == startRank && pos_.board[twoAhead] == Empty) {
            if (!wanted(Empty)) {
                ++omitted_;
            } else if (safeQuiet(twoAhead)) {
                add(twoAhead);
            }
        }
    }
    if (pos_.enPassantPossible && rank == pos_.enPassantRank) {
        // Kept in every listing: the square taken on is not the square arrived on.
        if (file == pos_.enPassantFile + 1) {
            const int to = squareIndex(file - 1, next), taken = squareIndex(file - 1, rank);
            if (safe(to, taken)) {
                addCapture(to, taken, true);
            }
        }
        if (file == pos_.enPassantFile - 1) {
            const int to = squareIndex(file + 1, next), taken = squareIndex(file + 1, rank);
            if (safe(to, taken)) {
                addCapture(to, taken, true);
            }
        }
    }
    for (int df = 1; df >= -1; df -= 2) {
        const int f = file + df;
        if (f < 1 || f > 8) {
            continue;
        }
        const int to = squareIndex(f, next);
        const int occupant = pos_.board[to];
        if (occupant == Empty) {
            continue;
        }
        const bool enemy = isWhitePiece(occupant) != white_;
        if (!enemy && !allPieces_) {
            continue;
        }
        if (!wanted(occupant)) {
            omitted_ += 4;
        } else if (safe(to, to)) {
            Move& m = build(from_, to, piece_);
            m.isCapture = true;
            m.captureFile = m.toFile;
            m.captureRank = m.toRank;
            m.isLegal = own_ && enemy;
            addPawnEntry(promotionRank);
        }
    }
}

bool MoveGenerator::castlingPathEmpty(bool kingside) const {
    const int rank = white_ ? 1 : 8;
    if (kingside) {
        return pos_.at(6, rank) == Empty && pos_.at(7, rank) == Empty;
    }
    return pos_.at(2, rank) == Empty && pos_.at(3, rank) == Empty && pos_.at(4, rank) == Empty;
}

bool MoveGenerator::castlingPiecesAtHome(bool kingside) const {
    const int rank = white_ ? 1 : 8;
    return pos_.at(5, rank) == (white_ ? WhiteKing : BlackKing) &&
           pos_.at(kingside ? 8 : 1, rank) == (white_ ? WhiteRook : BlackRook);
}

bool MoveGenerator::castlingIsSafe(bool kingside) const {
    // The three trials of the castling: the king on its square now, on the square it passes
    // with the rook still at home, and where it arrives with the rook beside it.
    const int rank = white_ ? 1 : 8;
    const auto bit = [rank](int file) { return uint64_t{1} << squareBit(file, rank); };
    const int passFile = kingside ? 6 : 4, arrivalFile = kingside ? 7 : 3;
    const uint64_t occupancy = sets_.occupied();
    const uint64_t lifted = occupancy & ~bit(5);
    return !sets_.attackedAfter(squareBit(5, rank), !white_, occupancy, 0) &&
           !sets_.attackedAfter(squareBit(passFile, rank), !white_, lifted | bit(passFile), 0) &&
           !sets_.attackedAfter(
               squareBit(arrivalFile, rank), !white_,
               (lifted & ~bit(kingside ? 8 : 1)) | bit(passFile) | bit(arrivalFile), 0);
}

void MoveGenerator::castle(bool kingside) {
    if (!castlingPathEmpty(kingside)) {
        return;
    }
    if (!wanted(Empty)) {
        ++omitted_;
        return;
    }
    const bool atHome = castlingPiecesAtHome(kingside);
    if (atHome && !castlingIsSafe(kingside)) {
        return;
    }
    const int rank = white_ ? 1 : 8;
    const int home = squareIndex(5, rank);
    const int king = white_ ? WhiteKing : BlackKing;
    Move& castling = build(home, squareIndex(kingside ? 7 : 3, rank), king);
    castling.attachCastlingCompanion(white_, kingside);
    if (atHome) {
        ++count_;
        return;
    }
    // Castling flags that the board does not bear out (set-ups): the trials on the scratch
    // board, with the two king steps written after the candidate.
    ++count_;
    Move& stay = build(home, home, king);
    ++count_;
    Move& pass = build(home, squareIndex(kingside ? 6 : 4, rank), king);
    count_ -= 2;
    const bool ok = white_ ? !pos_.leavesWhiteKingAttacked(castling, scratch_) &&
                                 !pos_.leavesWhiteKingAttacked(pass, scratch_) &&
                                 !pos_.leavesWhiteKingAttacked(stay, scratch_)
                           : !pos_.leavesBlackKingAttacked(castling, scratch_) &&
                                 !pos_.leavesBlackKingAttacked(pass, scratch_) &&
                                 !pos_.leavesBlackKingAttacked(stay, scratch_);
    if (ok) {
        ++count_;
    }
}

// The frontier listing of a piece of the side not to move: its captures of pieces of its own
// side (defences), in the order of the all-pieces listing. The rest is left out, counted by an
// upper bound.
void MoveGenerator::defences(int kind) {
    const uint64_t ownPieces = sets_.ofSide(white_);
    switch (kind) {
    case WhiteKing:
    case WhiteKnight: {
        const bool king = kind == WhiteKing;
        const uint8_t* targets = king ? geometry.king[from_] : geometry.knight[from_];
        const int n = king ? geometry.kingCount[from_] : geometry.knightCount[from_];
        for (int j = 0; j < n; ++j) {
            const int target = targets[j];
            // All-pieces mode keeps a king's unsafe entries too, and these are illegal anyway.
            if (((ownPieces >> geometry.bitOf[target]) & 1) != 0 &&
                (king || safe(target, target))) {
                addCapture(target, target, false);
            } else {
                ++omitted_;
            }
        }
        if (king) {
            omitted_ += 2; // castling
        }
        break;
    }
    case WhiteQueen:
    case WhiteRook:
    case WhiteBishop: {
        const int bit = geometry.bitOf[from_];
        const uint64_t occupancy = sets_.occupied();
        for (int d = kind == WhiteBishop ? 4 : 0, last = kind == WhiteRook ? 4 : 8; d < last; ++d) {
            omitted_ += geometry.rayLength[from_][d];
            const uint64_t blockers = geometry.rayMask[bit][d] & occupancy;
            if (blockers == 0) {
                continue;
            }
            const uint64_t nearest = PieceSets::nearestOnRay(d, blockers);
            const int target = geometry.cellOf[std::countr_zero(nearest)];
            if ((nearest & ownPieces) != 0 && safe(target, target)) {
                addCapture(target, target, false);
            }
        }
        break;
    }
    case WhitePawn:
        pawn(); // which leaves the pushes out itself
        break;
    }
}

void MoveGenerator::generatePiece() {
    switch (kind_) {
    case WhiteKing:
        jumps(true);
        if (white_ ? pos_.whiteCastleQueenside : pos_.blackCastleQueenside) {
            castle(false);
        }
        if (white_ ? pos_.whiteCastleKingside : pos_.blackCastleKingside) {
            castle(true);
        }
        break;
    case WhiteQueen:
        rays(0, 8);
        break;
    case WhiteRook:
        rays(0, 4);
        break;
    case WhiteBishop:
        rays(4, 8);
        break;
    case WhiteKnight:
        jumps(false);
        break;
    case WhitePawn:
        pawn();
        break;
    }
}

// Lists every piece; false when the frontier listing has to give way to AllPieces.
bool MoveGenerator::scan() {
    // Rising bits visit the squares in the generation order: a1, b1, ..., h1, a2, ..., h8.
    for (uint64_t pieces = allPieces_ ? sets_.occupied() : sets_.ofSide(whiteToMove_); pieces;
         pieces &= pieces - 1) {
        // The guard keeps every write inside the list, whatever position it is given. The
        // frontier listing must leave out the same pieces as AllPieces would.
        if (frontier_ && omissionsMayOverflow()) {
            return false;
        }
        if (count_ + maxEntriesPerPiece > capacity_) {
            break;
        }
        enterPiece(std::countr_zero(pieces));
        if (frontier_ && !own_) {
            defences(kind_);
        } else {
            generatePiece();
        }
    }
    return true;
}

int MoveGenerator::run() {
    // The legality trials make and take back moves on the scratch board, which must start as
    // the position itself; the sets must describe that position.
    assert(scratch_.samePositionAs(pos_));
    assert(sets_.occupied() == PieceSets::of(pos_).occupied());
    // Without mating material the generator has nothing to return, whatever moves exist.
    if (pos_.drawClaimed || sets_.insufficientMaterial()) {
        return 0;
    }
    if (!scan()) {
        frontier_ = false;
        count_ = 0;
        scan();
    }
    assert(scratch_.samePositionAs(pos_));
    assert(count_ <= capacity_);
    return count_;
}

int MoveGenerator::pieceEntries(int bit, Move* list) {
    assert(!allPieces_ && !listsNothing());
    assert(((sets_.ofSide(whiteToMove_) >> bit) & 1) != 0);
    assert(scratch_.samePositionAs(pos_));
    list_ = list;
    count_ = 0;
    enterPiece(bit);
    generatePiece();
    assert(count_ <= maxEntriesPerPiece);
    return count_;
}

uint64_t MoveGenerator::capturersOf(int cell, bool white) {
    const int bit = geometry.bitOf[cell];
    assert(((sets_.occupied() >> bit) & 1) != 0);
    const int k = white ? 0 : 6;
    const uint64_t occupancy = sets_.occupied();
    // Kings keep their entries onto attacked squares.
    uint64_t found = geometry.kingMask[bit] & sets_.byCode[WhiteKing + k];
    uint64_t candidates =
        (geometry.knightMask[bit] & sets_.byCode[WhiteKnight + k]) |
        (geometry.pawnAttackers[white ? 1 : 0][bit] & sets_.byCode[WhitePawn + k]);
    const uint64_t straight = sets_.byCode[WhiteQueen + k] | sets_.byCode[WhiteRook + k];
    const uint64_t diagonal = sets_.byCode[WhiteQueen + k] | sets_.byCode[WhiteBishop + k];
    for (int d = 0; d < 8; ++d) {
        // A slider reaches the cell when it is the nearest piece on the ray out from the cell.
        const uint64_t blockers = geometry.rayMask[bit][d] & occupancy;
        if (blockers != 0) {
            candidates |= PieceSets::nearestOnRay(d, blockers) & (d < 4 ? straight : diagonal);
        }
    }
    for (; candidates; candidates &= candidates - 1) {
        enterPiece(std::countr_zero(candidates));
        if (safe(cell, cell)) {
            found |= uint64_t{1} << geometry.bitOf[from_];
        }
    }
    return found;
}

bool MoveGenerator::hasEntry() {
    assert(!allPieces_);
    if (listsNothing()) {
        return false;
    }
    count_ = 0;
    // Kings first: a king in check, the usual case here, most often escapes by a step.
    const uint64_t own = sets_.ofSide(whiteToMove_);
    const uint64_t kings = own & sets_.byCode[whiteToMove_ ? WhiteKing : BlackKing];
    for (const uint64_t group : {kings, own & ~kings}) {
        for (uint64_t pieces = group; pieces; pieces &= pieces - 1) {
            enterPiece(std::countr_zero(pieces));
            generatePiece();
            if (count_ > 0) {
                return true;
            }
        }
    }
    return false;
}

namespace {

// Without a bit-count instruction (none is assumed of the processor) the library calls a
// function for std::popcount; this is the same count inline.
int squareCount(uint64_t squares) {
#ifdef __POPCNT__
    return std::popcount(squares);
#else
    squares -= (squares >> 1) & 0x5555555555555555ULL;
    squares = (squares & 0x3333333333333333ULL) + ((squares >> 2) & 0x3333333333333333ULL);
    squares = (squares + (squares >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return static_cast<int>((squares * 0x0101010101010101ULL) >> 56);
#endif
}

// The squares a slider on bit reaches along rays first to last - 1 over the occupancy: every
// square up to and including the first occupied one.
uint64_t sliderReach(int bit, int first, int last, uint64_t occupancy) {
    uint64_t reach = 0;
    for (int d = first; d < last; ++d) {
        const uint64_t line = geometry.rayMask[bit][d];
        const uint64_t blockers = line & occupancy;
        reach |=
            blockers == 0
                ? line
                : line &
                      ~geometry.rayMask[std::countr_zero(PieceSets::nearestOnRay(d, blockers))][d];
    }
    return reach;
}

constexpr uint64_t fileA = 0x0101010101010101ULL;
constexpr uint64_t fileH = fileA << 7;
constexpr uint64_t rankSquares(int r) {
    return uint64_t{0xFF} << (r - 1) * 8;
}

} // namespace

int MoveGenerator::countTargets(uint64_t targets) {
    if (!needsTrial_) {
        return squareCount(targets);
    }
    int n = 0;
    for (; targets; targets &= targets - 1) {
        const int to = geometry.cellOf[std::countr_zero(targets)];
        n += pos_.board[to] == Empty ? safeQuiet(to) : safe(to, to);
    }
    return n;
}

int MoveGenerator::countPawnEntries(uint64_t pawns) {
    const uint64_t occupancy = sets_.occupied();
    const uint64_t enemy = sets_.ofSide(!whiteToMove_);
    const uint64_t lastRank = rankSquares(whiteToMove_ ? 8 : 1);
    // The arrival squares of a set of pawns: single steps, double steps, captures either way.
    const auto arrivalsOf = [&](uint64_t from, uint64_t(&arrivals)[4]) {
        if (whiteToMove_) {
            arrivals[0] = (from << 8) & ~occupancy;
            arrivals[1] = ((arrivals[0] & rankSquares(3)) << 8) & ~occupancy;
            arrivals[2] = ((from & ~fileH) << 9) & enemy;
            arrivals[3] = ((from & ~fileA) << 7) & enemy;
        } else {
            arrivals[0] = (from >> 8) & ~occupancy;
            arrivals[1] = ((arrivals[0] & rankSquares(6)) >> 8) & ~occupancy;
            arrivals[2] = ((from & ~fileH) >> 7) & enemy;
            arrivals[3] = ((from & ~fileA) >> 9) & enemy;
        }
    };
    const auto entries = [&](uint64_t arrivals) {
        return squareCount(arrivals & ~lastRank) + 4 * squareCount(arrivals & lastRank);
    };
    // Pawns that may expose their king are tried one by one; the others' moves are all legal.
    const uint64_t tried = kingInCheck(whiteToMove_) ? pawns : pawns & pinnedOf(whiteToMove_);
    uint64_t arrivals[4];
    arrivalsOf(pawns & ~tried, arrivals);
    int n =
        entries(arrivals[0]) + entries(arrivals[1]) + entries(arrivals[2]) + entries(arrivals[3]);
    for (uint64_t from = tried; from; from &= from - 1) {
        const int bit = std::countr_zero(from);
        enterPiece(bit);
        arrivalsOf(uint64_t{1} << bit, arrivals);
        for (int k = 0; k < 4; ++k) {
            if (arrivals[k] == 0) {
                continue;
            }
            const int to = geometry.cellOf[std::countr_zero(arrivals[k])];
            if (k < 2 ? safeQuiet(to) : safe(to, to)) {
                n += entries(arrivals[k]);
            }
        }
    }
    if (pos_.enPassantPossible) {
        // The generator's own test: the square taken on is not the square arrived on.
        const int rankOfPawns = pos_.enPassantRank, next = rankOfPawns + (whiteToMove_ ? 1 : -1);
        for (const int df : {1, -1}) {
            const int file = pos_.enPassantFile + df;
            if (file < 1 || file > 8 || next < 1 || next > 8) {
                continue;
            }
            const int cell = squareIndex(file, rankOfPawns);
            if (((pawns >> geometry.bitOf[cell]) & 1) == 0) {
                continue;
            }
            enterPiece(geometry.bitOf[cell]);
            n += safe(squareIndex(pos_.enPassantFile, next),
                      squareIndex(pos_.enPassantFile, rankOfPawns));
        }
    }
    return n;
}

bool MoveGenerator::hasSingleRecordedKing() const {
    const int kingFile = whiteToMove_ ? pos_.whiteKingFile : pos_.blackKingFile;
    const int kingRank = whiteToMove_ ? pos_.whiteKingRank : pos_.blackKingRank;
    return onBoard(kingFile, kingRank) && sets_.byCode[whiteToMove_ ? WhiteKing : BlackKing] ==
                                              uint64_t{1} << squareBit(kingFile, kingRank);
}

bool MoveGenerator::countReadsScratch() {
    if (listsNothing()) {
        return false;
    }
    if (!hasSingleRecordedKing()) {
        return true;
    }
    // Castling rights that the board does not bear out are tried on the scratch board.
    white_ = whiteToMove_;
    const bool queenside = whiteToMove_ ? pos_.whiteCastleQueenside : pos_.blackCastleQueenside;
    const bool kingside = whiteToMove_ ? pos_.whiteCastleKingside : pos_.blackCastleKingside;
    return (queenside && !castlingPiecesAtHome(false)) || (kingside && !castlingPiecesAtHome(true));
}

int MoveGenerator::countEntries() {
    assert(!allPieces_);
    if (listsNothing()) {
        return 0;
    }
    const bool white = whiteToMove_;
    const int k = white ? 0 : 6;
    if (!hasSingleRecordedKing()) {
        return run(); // set-ups without a king, or with several: the listing itself
    }
    const uint64_t kings = sets_.byCode[WhiteKing + k];
    const uint64_t own = sets_.ofSide(white);
    const uint64_t occupancy = sets_.occupied();
    int n = countPawnEntries(sets_.byCode[WhitePawn + k]);
    // Pieces that may expose their king have their moves tried one by one; the others' moves
    // are all legal.
    const uint64_t tried = kingInCheck(white) ? ~uint64_t{0} : pinnedOf(white);
    const auto count = [&](int bit, uint64_t reach) {
        if (((tried >> bit) & 1) == 0) {
            return squareCount(reach & ~own);
        }
        enterPiece(bit);
        return countTargets(reach & ~own);
    };
    for (uint64_t knights = sets_.byCode[WhiteKnight + k]; knights; knights &= knights - 1) {
        const int bit = std::countr_zero(knights);
        n += count(bit, geometry.knightMask[bit]);
    }
    for (uint64_t sliders = sets_.byCode[WhiteQueen + k] | sets_.byCode[WhiteRook + k] |
                            sets_.byCode[WhiteBishop + k];
         sliders; sliders &= sliders - 1) {
        const int bit = std::countr_zero(sliders);
        const uint64_t b = uint64_t{1} << bit;
        const int first = (sets_.byCode[WhiteBishop + k] & b) != 0 ? 4 : 0;
        const int last = (sets_.byCode[WhiteRook + k] & b) != 0 ? 4 : 8;
        n += count(bit, sliderReach(bit, first, last, occupancy));
    }
    // The king, with its castlings tried as the listing tries them.
    enterPiece(std::countr_zero(kings));
    for (uint64_t steps = geometry.kingMask[std::countr_zero(kings)] & ~own; steps;
         steps &= steps - 1) {
        n += kingStepIsSafe(geometry.cellOf[std::countr_zero(steps)]);
    }
    for (const bool kingside : {false, true}) {
        const bool right = kingside
                               ? (white ? pos_.whiteCastleKingside : pos_.blackCastleKingside)
                               : (white ? pos_.whiteCastleQueenside : pos_.blackCastleQueenside);
        if (!right) {
            continue;
        }
        if (castlingPiecesAtHome(kingside)) {
            n += castlingPathEmpty(kingside) && castlingIsSafe(kingside);
        } else {
            count_ = 0;
            castle(kingside);
            n += count_;
        }
    }
    return n;
}

int Position::generateMoves(Move* list, Position& scratch, bool allPieces, int capacity) const {
    return generateMoves(list, scratch, allPieces, PieceSets::of(*this), capacity);
}

int Position::generateMoves(Move* list, Position& scratch, bool allPieces, const PieceSets& sets,
                            int capacity) const {
    return MoveGenerator(*this, sets, list, scratch,
                         allPieces ? Listing::AllPieces : Listing::SideToMove, capacity)
        .run();
}

int Position::generateFrontierMoves(Move* list, Position& scratch, const PieceSets& sets,
                                    int capacity) const {
    return MoveGenerator(*this, sets, list, scratch, Listing::Frontier, capacity).run();
}

// A side whose king is not on its recorded square has no king on the board (set-ups may leave
// one out, and the record then keeps the last square): such a side is never in check.
bool Position::isWhiteKingAttacked() const {
    return onBoard(whiteKingFile, whiteKingRank) && at(whiteKingFile, whiteKingRank) == WhiteKing &&
           squareAttacked(board, whiteKingFile, whiteKingRank, BlackKing);
}

bool Position::isBlackKingAttacked() const {
    return onBoard(blackKingFile, blackKingRank) && at(blackKingFile, blackKingRank) == BlackKing &&
           squareAttacked(board, blackKingFile, blackKingRank, WhiteKing);
}

bool Position::leavesWhiteKingAttacked(const Move& m, Position& scratch) const {
    scratch.makeMove(m);
    const bool attacked = scratch.isWhiteKingAttacked();
    scratch.unmakeMove(m, *this);
    return attacked;
}

bool Position::leavesBlackKingAttacked(const Move& m, Position& scratch) const {
    scratch.makeMove(m);
    const bool attacked = scratch.isBlackKingAttacked();
    scratch.unmakeMove(m, *this);
    return attacked;
}

bool Position::hasNoLegalMoves() const {
    Position scratch = *this;
    MoveList list(&scratch);
    return generateMoves(list, scratch, false) == 0;
}
