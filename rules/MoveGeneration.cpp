#include "Move.h"
#include "Position.h"

namespace {

constexpr bool onBoard(int file, int rank) {
    return file >= 1 && file <= 8 && rank >= 1 && rank <= 8;
}

constexpr int knightJumps[8][2] = {{2, 1}, {2, -1}, {-2, 1}, {-2, -1},
                                   {1, 2}, {1, -2}, {-1, 2}, {-1, -2}};
constexpr int kingSteps[8][2] = {{0, 1},  {0, -1}, {-1, 0}, {1, 0},
                                 {-1, 1}, {1, 1},  {1, -1}, {-1, -1}};
constexpr int rookRays[4][2] = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}};
constexpr int bishopRays[4][2] = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}};

// Is the square attacked by the pieces of the colour whose codes start at enemyBase
// (WhiteKing for White attackers, BlackKing for Black ones)? Pawns of that colour attack
// towards pawnDirection.
bool squareAttacked(const int32_t* board, int file, int rank, int enemyBase) {
    const int knight = enemyBase + (WhiteKnight - WhiteKing);
    const int queen = enemyBase + (WhiteQueen - WhiteKing);
    const int rook = enemyBase + (WhiteRook - WhiteKing);
    const int bishop = enemyBase + (WhiteBishop - WhiteKing);
    const int pawn = enemyBase + (WhitePawn - WhiteKing);
    const int king = enemyBase;

    for (const auto& j : knightJumps) {
        const int f = file + j[0], r = rank + j[1];
        if (onBoard(f, r) && board[squareIndex(f, r)] == knight) {
            return true;
        }
    }
    // Orthogonal rays in the order (+1,0), (-1,0), (0,+1), (0,-1).
    static constexpr int orthogonal[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& d : orthogonal) {
        int f = file + d[0], r = rank + d[1];
        while (onBoard(f, r)) {
            const int occupant = board[squareIndex(f, r)];
            if (occupant != Empty) {
                if (occupant == queen || occupant == rook) {
                    return true;
                }
                break;
            }
            f += d[0];
            r += d[1];
        }
    }
    for (const auto& d : bishopRays) {
        int f = file + d[0], r = rank + d[1];
        while (onBoard(f, r)) {
            const int occupant = board[squareIndex(f, r)];
            if (occupant != Empty) {
                if (occupant == queen || occupant == bishop) {
                    return true;
                }
                break;
            }
            f += d[0];
            r += d[1];
        }
    }
    // A White king is attacked by Black pawns one rank above it, and vice versa.
    const int pawnRank = enemyBase == BlackKing ? rank + 1 : rank - 1;
    if (pawnRank >= 1 && pawnRank <= 8) {
        if (file > 1 && board[squareIndex(file - 1, pawnRank)] == pawn) {
            return true;
        }
        if (file < 8 && board[squareIndex(file + 1, pawnRank)] == pawn) {
            return true;
        }
    }
    for (const auto& s : kingSteps) {
        const int f = file + s[0], r = rank + s[1];
        if (onBoard(f, r) && board[squareIndex(f, r)] == king) {
            return true;
        }
    }
    return false;
}

class Generator {
public:
    Generator(const Position& pos, Move* list, Position& scratch, bool allPieces, int capacity)
        : pos_(pos), list_(list), scratch_(scratch), allPieces_(allPieces), capacity_(capacity) {}

    int run();

private:
    const Position& pos_;
    Move* list_;
    Position& scratch_;
    const bool allPieces_;
    const int capacity_;
    int count_ = 0;

    // Per colour (index 1 White, 0 Black): is the king in check now, computed on first use.
    signed char inCheck_[2] = {-1, -1};

    bool kingInCheck(bool white) {
        signed char& cached = inCheck_[white ? 1 : 0];
        if (cached < 0) {
            cached = white ? pos_.isWhiteKingAttacked() : pos_.isBlackKingAttacked();
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

    // Make, test, unmake on the scratch board. Moves of a piece other than a king that start
    // off every line through their own king, and are no en-passant capture, cannot expose that
    // king; when it is not in check now they pass without the trial.
    bool passes(const Move& m, bool white) {
        const bool isKing = m.piece == WhiteKing || m.piece == BlackKing;
        const bool enPassant = m.isCapture && (m.captureFile != m.toFile || m.captureRank != m.toRank);
        if (!isKing && !enPassant && !kingInCheck(white)) {
            const int kf = white ? pos_.whiteKingFile : pos_.blackKingFile;
            const int kr = white ? pos_.whiteKingRank : pos_.blackKingRank;
            const int df = m.fromFile - kf, dr = m.fromRank - kr;
            if (df != 0 && dr != 0 && df != dr && df != -dr) {
                return true;
            }
        }
        return white ? !pos_.leavesWhiteKingAttacked(m, scratch_)
                     : !pos_.leavesBlackKingAttacked(m, scratch_);
    }

    void rays(int file, int rank, int piece, bool white, const int (*dirs)[2], int n);
    void jumps(int file, int rank, int piece, bool white, const int (*steps)[2], bool king);
    void pawn(int file, int rank, bool white);
    void addPawnEntry(bool white, int promotionRank);
    void castle(bool white, bool kingside);
};

void Generator::rays(int file, int rank, int piece, bool white, const int (*dirs)[2], int n) {
    for (int d = 0; d < n; ++d) {
        int f = file + dirs[d][0], r = rank + dirs[d][1];
        while (onBoard(f, r)) {
            const int occupant = pos_.at(f, r);
            const bool enemy = occupant != Empty && (white ? isBlackPiece(occupant) : isWhitePiece(occupant));
            if (occupant == Empty || enemy || allPieces_) {
                Move& m = build(file, rank, f, r, piece);
                if (occupant != Empty) {
                    markCapture(m, f, r);
                    m.isLegal = enemy;
                }
                if (passes(m, white)) {
                    ++count_;
                }
            }
            if (occupant != Empty) {
                break;
            }
            f += dirs[d][0];
            r += dirs[d][1];
        }
    }
}

void Generator::jumps(int file, int rank, int piece, bool white, const int (*steps)[2], bool king) {
    for (int s = 0; s < 8; ++s) {
        const int f = file + steps[s][0], r = rank + steps[s][1];
        if (!onBoard(f, r)) {
            continue;
        }
        const int occupant = pos_.at(f, r);
        const bool own = occupant != Empty && (white ? isWhitePiece(occupant) : isBlackPiece(occupant));
        if (own && !allPieces_) {
            continue;
        }
        Move& m = build(file, rank, f, r, piece);
        if (occupant != Empty) {
            markCapture(m, f, r);
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
    if (pos_.drawClaimed) {
        return 0;
    }
    int pawnsRooksQueens = 0, knights = 0, lightBishops = 0, darkBishops = 0;
    const bool whiteToMove = pos_.sideToMove == 1;
    for (int rank = 1; rank <= 8; ++rank) {
        for (int file = 1; file <= 8; ++file) {
            const int piece = pos_.at(file, rank);
            if (piece == Empty) {
                continue;
            }
            const bool white = isWhitePiece(piece);
            const bool ownSide = white == whiteToMove;
            const int kind = white ? piece : piece - 6;
            // The guard keeps every write inside the list, whatever position it is given.
            const bool room = count_ + maxEntriesPerPiece <= capacity_;
            if ((allPieces_ || ownSide) && room) {
                const int first = count_;
                switch (kind) {
                case WhiteKing:
                    jumps(file, rank, piece, white, kingSteps, true);
                    if (white ? pos_.whiteCastleQueenside : pos_.blackCastleQueenside) {
                        castle(white, false);
                    }
                    if (white ? pos_.whiteCastleKingside : pos_.blackCastleKingside) {
                        castle(white, true);
                    }
                    break;
                case WhiteQueen:
                    rays(file, rank, piece, white, rookRays, 4);
                    rays(file, rank, piece, white, bishopRays, 4);
                    break;
                case WhiteRook:
                    rays(file, rank, piece, white, rookRays, 4);
                    break;
                case WhiteBishop:
                    rays(file, rank, piece, white, bishopRays, 4);
                    break;
                case WhiteKnight:
                    jumps(file, rank, piece, white, knightJumps, false);
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
            switch (kind) {
            case WhiteBishop:
                if ((file + rank) % 2 == 0) {
                    ++darkBishops;
                } else {
                    ++lightBishops;
                }
                break;
            case WhiteKnight:
                ++knights;
                break;
            case WhiteKing:
                break;
            default:
                ++pawnsRooksQueens;
                break;
            }
        }
    }
    if (pawnsRooksQueens == 0) {
        const bool bishops = lightBishops + darkBishops > 0;
        if ((knights == 0 && !(lightBishops > 0 && darkBishops > 0)) || (knights == 1 && !bishops)) {
            return 0;
        }
    }
    return count_;
}

} // namespace

int Position::generateMoves(Move* list, Position& scratch, bool allPieces, int capacity) const {
    return Generator(*this, list, scratch, allPieces, capacity).run();
}

bool Position::isWhiteKingAttacked() const {
    return squareAttacked(board, whiteKingFile, whiteKingRank, BlackKing);
}

bool Position::isBlackKingAttacked() const {
    return squareAttacked(board, blackKingFile, blackKingRank, WhiteKing);
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
