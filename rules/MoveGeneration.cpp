#include "BoardGeometry.h"
#include "Move.h"
#include "PieceSets.h"
#include "Position.h"

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

class Generator {
public:
    Generator(const Position& pos, const PieceSets& sets, Move* list, Position& scratch,
              bool allPieces, int capacity)
        : pos_(pos), sets_(sets), list_(list), scratch_(scratch), allPieces_(allPieces),
          capacity_(capacity) {}

    int run();

private:
    const Position& pos_;
    const PieceSets& sets_;
    Move* list_;
    Position& scratch_;
    const bool allPieces_;
    const int capacity_;
    int count_ = 0;
    // Whether moves of the piece being generated can leave its king attacked.
    bool pieceNeedsTrial_ = true;

    // Per colour (index 1 White, 0 Black): is the king in check now, computed on first use.
    signed char inCheck_[2] = {-1, -1};

    bool kingInCheck(bool white) {
        signed char& cached = inCheck_[white ? 1 : 0];
        if (cached < 0) {
            cached = white ? sets_.whiteKingAttacked(pos_) : sets_.blackKingAttacked(pos_);
        }
        return cached != 0;
    }

    // Writes a plain entry into the next free slot without counting it.
    Move& build(int fromFile, int fromRank, int toFile, int toRank, int piece) {
        Move& m = list_[count_];
        m.fromFile = fromFile;
        m.fromRank = fromRank;
        m.toFile = toFile;
        m.toRank = toRank;
        m.isCapture = false;
        m.piece = m.resultPiece = piece;
        if (m.hasCompanion || m.companion) {
            m.releaseCompanion();
        }
        m.isLegal = true;
        return m;
    }

    static void markCapture(Move& m, int file, int rank) {
        m.isCapture = true;
        m.captureFile = file;
        m.captureRank = rank;
    }

    // The answer of the trial (make the move on the scratch board, test the mover's king, take
    // it back), found from the square sets without making the move: a piece other than the king
    // that is not the first piece on a line from its king to an enemy slider cannot expose that
    // king unless it is in check already or captures en passant.
    bool passes(const Move& m, bool white) {
        const bool isKing = m.piece == WhiteKing || m.piece == BlackKing;
        const bool enPassant =
            m.isCapture && (m.captureFile != m.toFile || m.captureRank != m.toRank);
        if (!isKing) {
            return (!pieceNeedsTrial_ && !enPassant) || !exposesKing(m, white);
        }
        const int kingFile = white ? pos_.whiteKingFile : pos_.blackKingFile;
        const int kingRank = white ? pos_.whiteKingRank : pos_.blackKingRank;
        if (kingFile == m.fromFile && kingRank == m.fromRank && !enPassant) {
            // The king steps: its target must be safe once the king has left its square.
            const uint64_t occupancy =
                sets_.occupied() & ~(uint64_t{1} << squareBit(m.fromFile, m.fromRank));
            return !sets_.attackedAfter(squareBit(m.toFile, m.toRank), !white, occupancy, 0);
        }
        // A king that is not the one on the recorded square (set-ups can have that).
        return white ? !pos_.leavesWhiteKingAttacked(m, scratch_)
                     : !pos_.leavesBlackKingAttacked(m, scratch_);
    }

    // Would the move of a piece other than the king leave its king attacked?
    bool exposesKing(const Move& m, bool white) const {
        const int kingFile = white ? pos_.whiteKingFile : pos_.blackKingFile;
        const int kingRank = white ? pos_.whiteKingRank : pos_.blackKingRank;
        if (!onBoard(kingFile, kingRank)) {
            return false;
        }
        const int kingCell = squareIndex(kingFile, kingRank);
        const int from = squareIndex(m.fromFile, m.fromRank);
        const int to = squareIndex(m.toFile, m.toRank);
        const int capture = m.isCapture ? squareIndex(m.captureFile, m.captureRank) : to;
        // The king test finds no king when the move writes over the king's cell.
        if (pos_.board[kingCell] != (white ? WhiteKing : BlackKing) || kingCell == from ||
            kingCell == to || kingCell == capture) {
            return false;
        }
        const uint64_t toBit = uint64_t{1} << geometry.bitOf[to];
        const uint64_t captured = m.isCapture ? uint64_t{1} << geometry.bitOf[capture] : 0;
        const uint64_t occupancy =
            (sets_.occupied() & ~(uint64_t{1} << geometry.bitOf[from]) & ~captured) | toBit;
        return sets_.attackedAfter(geometry.bitOf[kingCell], !white, occupancy, captured);
    }

    // Squares of the pieces that shield their king from an enemy slider; computed on first use
    // for each colour.
    uint64_t pinned_[2] = {0, 0};
    bool pinnedKnown_[2] = {false, false};

    // Could lifting the piece on (file, rank) open a line from its king to an enemy slider?
    bool mayBePinned(int file, int rank, bool white) {
        const int side = white ? 1 : 0;
        if (!pinnedKnown_[side]) {
            pinned_[side] = findPinned(white);
            pinnedKnown_[side] = true;
        }
        return (pinned_[side] >> squareBit(file, rank)) & 1;
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

    void rays(int file, int rank, int piece, bool white, int firstDirection, int lastDirection);
    void jumps(int file, int rank, int piece, bool white, bool king);
    void pawn(int file, int rank, bool white);
    void addPawnEntry(bool white, int promotionRank);
    void castle(bool white, bool kingside);
};

void Generator::rays(int file, int rank, int piece, bool white, int firstDirection,
                     int lastDirection) {
    const int sq = squareIndex(file, rank);
    for (int d = firstDirection; d < lastDirection; ++d) {
        const uint8_t* path = geometry.ray[sq][d];
        for (int k = 0, n = geometry.rayLength[sq][d]; k < n; ++k) {
            const int target = path[k];
            const int occupant = pos_.board[target];
            const bool enemy =
                occupant != Empty && (white ? isBlackPiece(occupant) : isWhitePiece(occupant));
            if (occupant == Empty || enemy || allPieces_) {
                Move& m =
                    build(file, rank, geometry.fileOf[target], geometry.rankOf[target], piece);
                if (occupant != Empty) {
                    markCapture(m, m.toFile, m.toRank);
                    m.isLegal = enemy;
                }
                if (passes(m, white)) {
                    ++count_;
                }
            }
            if (occupant != Empty) {
                break;
            }
        }
    }
}

void Generator::jumps(int file, int rank, int piece, bool white, bool king) {
    const int sq = squareIndex(file, rank);
    const uint8_t* targets = king ? geometry.king[sq] : geometry.knight[sq];
    const int n = king ? geometry.kingCount[sq] : geometry.knightCount[sq];
    for (int j = 0; j < n; ++j) {
        const int target = targets[j];
        const int occupant = pos_.board[target];
        const bool own =
            occupant != Empty && (white ? isWhitePiece(occupant) : isBlackPiece(occupant));
        if (own && !allPieces_) {
            continue;
        }
        Move& m = build(file, rank, geometry.fileOf[target], geometry.rankOf[target], piece);
        if (occupant != Empty) {
            markCapture(m, m.toFile, m.toRank);
            m.isLegal = !own;
        }
        if (passes(m, white)) {
            ++count_;
        } else if (king && allPieces_) {
            m.isLegal = false;
            ++count_;
        }
    }
}

// The candidate in the next slot passed its test: keep it, as four promotions on the last rank.
void Generator::addPawnEntry(bool white, int promotionRank) {
    Move& m = list_[count_];
    if (m.toRank != promotionRank) {
        ++count_;
        return;
    }
    const int base = white ? 0 : 6;
    static constexpr int order[4] = {WhiteQueen, WhiteKnight, WhiteRook, WhiteBishop};
    for (int k = 1; k < 4; ++k) {
        list_[count_ + k] = m;
    }
    for (int k = 0; k < 4; ++k) {
        list_[count_ + k].resultPiece = order[k] + base;
    }
    count_ += 4;
}

void Generator::pawn(int file, int rank, bool white) {
    const int piece = white ? WhitePawn : BlackPawn;
    const int forward = white ? 1 : -1;
    const int promotionRank = white ? 8 : 1;
    const int next = rank + forward;
    if (next < 1 || next > 8) {
        return; // a pawn set up on its last rank has nowhere to go
    }
    if (pos_.at(file, next) == Empty) {
        build(file, rank, file, next, piece);
        if (passes(list_[count_], white)) {
            addPawnEntry(white, promotionRank);
        }
        const int startRank = white ? 2 : 7;
        const int doubleRank = white ? 4 : 5;
        if (rank == startRank && pos_.at(file, doubleRank) == Empty) {
            Move& m = build(file, rank, file, doubleRank, piece);
            if (passes(m, white)) {
                ++count_;
            }
        }
    }
    if (pos_.enPassantPossible && rank == pos_.enPassantRank) {
        if (file == pos_.enPassantFile + 1) {
            Move& m = build(file, rank, file - 1, next, piece);
            markCapture(m, file - 1, rank);
            if (passes(m, white)) {
                ++count_;
            }
        }
        if (file == pos_.enPassantFile - 1) {
            Move& m = build(file, rank, file + 1, next, piece);
            markCapture(m, file + 1, rank);
            if (passes(m, white)) {
                ++count_;
            }
        }
    }
    for (const int df : {1, -1}) {
        const int f = file + df;
        if (f < 1 || f > 8) {
            continue;
        }
        const int occupant = pos_.at(f, next);
        if (occupant == Empty) {
            continue;
        }
        const bool enemy = white ? isBlackPiece(occupant) : isWhitePiece(occupant);
        if (!enemy && !allPieces_) {
            continue;
        }
        Move& m = build(file, rank, f, next, piece);
        markCapture(m, f, next);
        m.isLegal = enemy;
        if (passes(m, white)) {
            addPawnEntry(white, promotionRank);
        }
    }
}

void Generator::castle(bool white, bool kingside) {
    const int rank = white ? 1 : 8;
    const int king = white ? WhiteKing : BlackKing;
    if (kingside) {
        if (pos_.at(6, rank) != Empty || pos_.at(7, rank) != Empty) {
            return;
        }
    } else if (pos_.at(2, rank) != Empty || pos_.at(3, rank) != Empty ||
               pos_.at(4, rank) != Empty) {
        return;
    }
    Move& castling = build(5, rank, kingside ? 7 : 3, rank, king);
    castling.attachCastlingCompanion(white, kingside);
    ++count_; // the two scratch steps go after the candidate
    Move& stay = build(5, rank, 5, rank, king);
    ++count_;
    Move& pass = build(5, rank, kingside ? 6 : 4, rank, king);
    count_ -= 2;
    const bool ok = white ? !pos_.leavesWhiteKingAttacked(castling, scratch_) &&
                                !pos_.leavesWhiteKingAttacked(pass, scratch_) &&
                                !pos_.leavesWhiteKingAttacked(stay, scratch_)
                          : !pos_.leavesBlackKingAttacked(castling, scratch_) &&
                                !pos_.leavesBlackKingAttacked(pass, scratch_) &&
                                !pos_.leavesBlackKingAttacked(stay, scratch_);
    if (ok) {
        ++count_;
    }
}

int Generator::run() {
    // Without mating material the generator has nothing to return, whatever moves exist.
    if (pos_.drawClaimed || sets_.insufficientMaterial()) {
        return 0;
    }
    const bool whiteToMove = pos_.sideToMove == 1;
    // Rising bits visit the squares in the generation order: a1, b1, ..., h1, a2, ..., h8.
    for (uint64_t pieces = allPieces_ ? sets_.occupied() : sets_.ofSide(whiteToMove); pieces;
         pieces &= pieces - 1) {
        // The guard keeps every write inside the list, whatever position it is given.
        if (count_ + maxEntriesPerPiece > capacity_) {
            break;
        }
        const int cell = geometry.cellOf[std::countr_zero(pieces)];
        const int file = geometry.fileOf[cell], rank = geometry.rankOf[cell];
        const int piece = pos_.board[cell];
        const bool white = isWhitePiece(piece);
        const bool ownSide = white == whiteToMove;
        const int kind = white ? piece : piece - 6;
        const int first = count_;
        pieceNeedsTrial_ =
            kind == WhiteKing || kingInCheck(white) || mayBePinned(file, rank, white);
        switch (kind) {
        case WhiteKing:
            jumps(file, rank, piece, white, true);
            if (white ? pos_.whiteCastleQueenside : pos_.blackCastleQueenside) {
                castle(white, false);
            }
            if (white ? pos_.whiteCastleKingside : pos_.blackCastleKingside) {
                castle(white, true);
            }
            break;
        case WhiteQueen:
            rays(file, rank, piece, white, 0, 8);
            break;
        case WhiteRook:
            rays(file, rank, piece, white, 0, 4);
            break;
        case WhiteBishop:
            rays(file, rank, piece, white, 4, 8);
            break;
        case WhiteKnight:
            jumps(file, rank, piece, white, false);
            break;
        case WhitePawn:
            pawn(file, rank, white);
            break;
        }
        if (!ownSide) {
            for (int i = first; i < count_; ++i) {
                list_[i].isLegal = false;
            }
        }
    }
    return count_;
}

} // namespace

int Position::generateMoves(Move* list, Position& scratch, bool allPieces, int capacity) const {
    return generateMoves(list, scratch, allPieces, PieceSets::of(*this), capacity);
}

int Position::generateMoves(Move* list, Position& scratch, bool allPieces, const PieceSets& sets,
                            int capacity) const {
    return Generator(*this, sets, list, scratch, allPieces, capacity).run();
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
