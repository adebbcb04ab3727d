#include "BoardGeometry.h"
#include "Move.h"
#include "PieceSets.h"
#include "Position.h"

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

// Which entries a generator call lists.
enum class Listing {
    SideToMove, // the legal moves of the side to move
    AllPieces,  // also the other side's moves and every piece's defence of its own pieces
    // The side to move's entries of AllPieces, and of the others only the captures onto squares
    // that the side to move does not hold
    Frontier,
};

class Generator {
public:
    Generator(const Position& pos, const PieceSets& sets, Move* list, Position& scratch,
              Listing listing, int capacity)
        : pos_(pos), sets_(sets), list_(list), scratch_(scratch),
          allPieces_(listing != Listing::SideToMove), frontier_(listing == Listing::Frontier),
          whiteToMove_(pos.sideToMove == 1), capacity_(capacity) {}

    int run();

private:
    const Position& pos_;
    const PieceSets& sets_;
    Move* list_;
    Position& scratch_;
    const bool allPieces_;
    bool frontier_;
    const bool whiteToMove_;
    const int capacity_;
    int count_ = 0;
    // Frontier listing: entries left out, counted as if each had passed (promotions as four), so
    // that count_ + omitted_ bounds the count that AllPieces would have reached.
    int omitted_ = 0;

    // About the piece being generated.
    int from_ = 0;
    int piece_ = Empty;
    bool white_ = true;
    bool own_ = true; // belongs to the side to move
    // Whether its moves can leave its king attacked.
    bool needsTrial_ = true;

    // Per colour (index 1 White, 0 Black): is the king in check now, computed on first use.
    signed char inCheck_[2] = {-1, -1};

    bool kingInCheck(bool white) {
        signed char& cached = inCheck_[white ? 1 : 0];
        if (cached < 0) {
            cached = white ? sets_.whiteKingAttacked(pos_) : sets_.blackKingAttacked(pos_);
        }
        return cached != 0;
    }

    // Whether the listing wants an entry of the current piece onto a cell with this occupant.
    bool wanted(int occupant) const {
        if (!frontier_) {
            return true;
        }
        return occupant == Empty ? own_ : isWhitePiece(occupant) != whiteToMove_;
    }

    // Writes an entry into the next free slot without counting it. A non-capture keeps the
    // capture square that the slot held.
    Move& build(int from, int to, int piece) {
        // The per-piece guard in scan() keeps every write inside the list.
        assert(count_ < capacity_);
        Move& m = list_[count_];
        m.fromFile = geometry.fileOf[from];
        m.fromRank = geometry.rankOf[from];
        m.toFile = geometry.fileOf[to];
        m.toRank = geometry.rankOf[to];
        m.isCapture = false;
        m.piece = m.resultPiece = piece;
        if (m.hasCompanion || m.companion) {
            m.releaseCompanion();
        }
        m.isLegal = own_;
        return m;
    }

    void add(int to) {
        build(from_, to, piece_);
        ++count_;
    }
    void addCapture(int to, int capture, bool legal) {
        Move& m = build(from_, to, piece_);
        m.isCapture = true;
        m.captureFile = geometry.fileOf[capture];
        m.captureRank = geometry.rankOf[capture];
        m.isLegal = own_ && legal;
        ++count_;
    }

    // The answer of the trial that the rules describe (make the move on the scratch board, test
    // the mover's king, take the move back) for a piece other than the king, found from the
    // square sets: a piece that is not the first on a line from its king to an enemy slider
    // cannot expose the king unless it is in check already or captures en passant.
    bool safe(int to, int capture) const {
        return (!needsTrial_ && capture == to) || !exposesKing(to, capture);
    }
    bool safeQuiet(int to) const { return !needsTrial_ || !exposesKing(to, -1); }

    // Would moving the current piece (not a king) to `to`, taking what stands on `capture` (-1
    // for none), leave its king attacked?
    bool exposesKing(int to, int capture) const {
        const int kingFile = white_ ? pos_.whiteKingFile : pos_.blackKingFile;
        const int kingRank = white_ ? pos_.whiteKingRank : pos_.blackKingRank;
        if (!onBoard(kingFile, kingRank)) {
            return false;
        }
        const int kingCell = squareIndex(kingFile, kingRank);
        // The king test finds no king when the move writes over the king's cell.
        if (pos_.board[kingCell] != (white_ ? WhiteKing : BlackKing) || kingCell == to ||
            kingCell == capture) {
            return false;
        }
        const uint64_t captured = capture >= 0 ? uint64_t{1} << geometry.bitOf[capture] : 0;
        const uint64_t occupancy =
            (sets_.occupied() & ~(uint64_t{1} << geometry.bitOf[from_]) & ~captured) |
            uint64_t{1} << geometry.bitOf[to];
        return sets_.attackedAfter(geometry.bitOf[kingCell], !white_, occupancy, captured);
    }

    // The same for a king move, which the trial tests on the king's new square.
    bool kingStepIsSafe(int to) {
        const int kingFile = white_ ? pos_.whiteKingFile : pos_.blackKingFile;
        const int kingRank = white_ ? pos_.whiteKingRank : pos_.blackKingRank;
        if (onBoard(kingFile, kingRank) && squareIndex(kingFile, kingRank) == from_) {
            const uint64_t occupancy = sets_.occupied() & ~(uint64_t{1} << geometry.bitOf[from_]);
            return !sets_.attackedAfter(geometry.bitOf[to], !white_, occupancy, 0);
        }
        // A king that is not the one on the recorded square (set-ups can have that).
        const Move& m = list_[count_];
        return white_ ? !pos_.leavesWhiteKingAttacked(m, scratch_)
                      : !pos_.leavesBlackKingAttacked(m, scratch_);
    }

    // Squares of the pieces that shield their king from an enemy slider; computed on first use
    // for each colour.
    uint64_t pinned_[2] = {0, 0};
    bool pinnedKnown_[2] = {false, false};

    // Could lifting the piece on the cell open a line from its king to an enemy slider?
    bool mayBePinned(int cell, bool white) {
        const int side = white ? 1 : 0;
        if (!pinnedKnown_[side]) {
            pinned_[side] = findPinned(white);
            pinnedKnown_[side] = true;
        }
        return (pinned_[side] >> geometry.bitOf[cell]) & 1;
    }

    uint64_t findPinned(bool white) const {
        const int kingFile = white ? pos_.whiteKingFile : pos_.blackKingFile;
        const int kingRank = white ? pos_.whiteKingRank : pos_.blackKingRank;
        if (!onBoard(kingFile, kingRank)) {
            return 0;
        }
        const int kingBit = squareBit(kingFile, kingRank);
        const int k = white ? 6 : 0; // enemy codes
        const uint64_t occupancy = sets_.occupied();
        uint64_t mask = 0;
        for (int d = 0; d < 8; ++d) {
            const uint64_t line = geometry.rayMask[kingBit][d];
            const uint64_t sliders = line & (sets_.byCode[WhiteQueen + k] |
                                             sets_.byCode[(d < 4 ? WhiteRook : WhiteBishop) + k]);
            if (sliders == 0) {
                continue;
            }
            const uint64_t blockers = line & occupancy;
            const uint64_t shield = PieceSets::nearestOnRay(d, blockers);
            const uint64_t behind = blockers & ~shield;
            if (behind != 0 && (PieceSets::nearestOnRay(d, behind) & sliders) != 0) {
                mask |= shield;
            }
        }
        return mask;
    }

    // Whether the frontier listing left out so much that AllPieces could have filled the list.
    bool omissionsMayOverflow() const { return count_ + omitted_ + maxEntriesPerPiece > capacity_; }

    bool scan();
    void defences(int kind);
    void rays(int firstDirection, int lastDirection);
    void jumps(bool king);
    void pawn();
    void addPawnEntry(int promotionRank);
    void castle(bool kingside);
};

void Generator::rays(int firstDirection, int lastDirection) {
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

void Generator::jumps(bool king) {
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
void Generator::addPawnEntry(int promotionRank) {
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

void Generator::pawn() {
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

void Generator::castle(bool kingside) {
    const int rank = white_ ? 1 : 8;
    if (kingside) {
        if (pos_.at(6, rank) != Empty || pos_.at(7, rank) != Empty) {
            return;
        }
    } else if (pos_.at(2, rank) != Empty || pos_.at(3, rank) != Empty ||
               pos_.at(4, rank) != Empty) {
        return;
    }
    if (!wanted(Empty)) {
        ++omitted_;
        return;
    }
    const int home = squareIndex(5, rank);
    const int king = white_ ? WhiteKing : BlackKing;
    Move& castling = build(home, squareIndex(kingside ? 7 : 3, rank), king);
    castling.attachCastlingCompanion(white_, kingside);
    ++count_; // the two scratch steps go after the candidate
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
void Generator::defences(int kind) {
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

// Lists every piece; false when the frontier listing has to give way to AllPieces.
bool Generator::scan() {
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
        from_ = geometry.cellOf[std::countr_zero(pieces)];
        piece_ = pos_.board[from_];
        white_ = isWhitePiece(piece_);
        own_ = white_ == whiteToMove_;
        const int kind = white_ ? piece_ : piece_ - 6;
        needsTrial_ = kind == WhiteKing || kingInCheck(white_) || mayBePinned(from_, white_);
        if (frontier_ && !own_) {
            defences(kind);
            continue;
        }
        switch (kind) {
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
    return true;
}

int Generator::run() {
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

} // namespace

int Position::generateMoves(Move* list, Position& scratch, bool allPieces, int capacity) const {
    return generateMoves(list, scratch, allPieces, PieceSets::of(*this), capacity);
}

int Position::generateMoves(Move* list, Position& scratch, bool allPieces, const PieceSets& sets,
                            int capacity) const {
    return Generator(*this, sets, list, scratch,
                     allPieces ? Listing::AllPieces : Listing::SideToMove, capacity)
        .run();
}

int Position::generateFrontierMoves(Move* list, Position& scratch, const PieceSets& sets,
                                    int capacity) const {
    return Generator(*this, sets, list, scratch, Listing::Frontier, capacity).run();
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
