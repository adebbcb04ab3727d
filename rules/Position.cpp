#include "Position.h"

#include "Move.h"

#include <algorithm>
#include <cassert>

void Position::setInitialPosition() {
    std::fill(std::begin(board), std::end(board), Empty);
    static constexpr int32_t backRank[9] = {Empty,       WhiteRook,   WhiteKnight,
                                            WhiteBishop, WhiteQueen,  WhiteKing,
                                            WhiteBishop, WhiteKnight, WhiteRook};
    for (int file = 1; file <= 8; ++file) {
        board[squareIndex(file, 1)] = backRank[file];
        board[squareIndex(file, 2)] = WhitePawn;
        board[squareIndex(file, 7)] = BlackPawn;
        board[squareIndex(file, 8)] = backRank[file] + 6;
    }
    whiteKingFile = 5;
    whiteKingRank = 1;
    blackKingFile = 5;
    blackKingRank = 8;
    sideToMove = 1;
    whiteCastleKingside = whiteCastleQueenside = true;
    blackCastleKingside = blackCastleQueenside = true;
    enPassantPossible = false;
    enPassantFile = 0;
    enPassantRank = 0;
    drawClaimed = false;
    updateCastlingRights();
}

void Position::updateCastlingRights() {
    const bool whiteKingHome = board[46] == WhiteKing;
    const bool blackKingHome = board[53] == BlackKing;
    whiteCastleKingside = whiteCastleKingside && whiteKingHome && board[73] == WhiteRook;
    whiteCastleQueenside = whiteCastleQueenside && whiteKingHome && board[10] == WhiteRook;
    blackCastleKingside = blackCastleKingside && blackKingHome && board[80] == BlackRook;
    blackCastleQueenside = blackCastleQueenside && blackKingHome && board[17] == BlackRook;
}

void Position::placePiece(int file, int rank, int piece) {
    const int replaced = board[squareIndex(file, rank)];
    board[squareIndex(file, rank)] = piece;
    if (piece == WhiteKing) {
        whiteKingFile = file;
        whiteKingRank = rank;
    } else if (piece == BlackKing) {
        blackKingFile = file;
        blackKingRank = rank;
    }
    if ((replaced == WhiteKing || replaced == BlackKing) && replaced != piece) {
        followRemainingKing(replaced);
    }
}

void Position::followRemainingKing(int king) {
    int32_t& file = king == WhiteKing ? whiteKingFile : blackKingFile;
    int32_t& rank = king == WhiteKing ? whiteKingRank : blackKingRank;
    if (file >= 1 && file <= 8 && rank >= 1 && rank <= 8 && at(file, rank) == king) {
        return; // the one that left was not the followed king
    }
    for (int f = 1; f <= 8; ++f) {
        for (int r = 1; r <= 8; ++r) {
            if (at(f, r) == king) {
                file = f;
                rank = r;
                return;
            }
        }
    }
}

void Position::makeMove(const Move& m) {
    // Only set-ups let a king be taken; a colour with another king must not be left unfollowed.
    int takenKing = Empty;
    if (m.isCapture) {
        int32_t& captured = board[squareIndex(m.captureFile, m.captureRank)];
        if (captured == WhiteKing || captured == BlackKing) {
            takenKing = captured;
        }
        captured = Empty;
    }
    board[squareIndex(m.fromFile, m.fromRank)] = Empty;
    board[squareIndex(m.toFile, m.toRank)] = m.resultPiece;
    updateCastlingRights();

    enPassantPossible = false;
    if (sideToMove == 1) {
        if (m.piece == WhitePawn && m.toRank - m.fromRank == 2 &&
            ((m.toFile > 1 && board[squareIndex(m.toFile - 1, 4)] == BlackPawn) ||
             (m.toFile < 8 && board[squareIndex(m.toFile + 1, 4)] == BlackPawn))) {
            enPassantPossible = true;
            enPassantFile = m.toFile;
            enPassantRank = m.toRank;
        }
    } else if (m.piece == BlackPawn && m.fromRank - m.toRank == 2 &&
               ((m.toFile > 1 && board[squareIndex(m.toFile - 1, 5)] == WhitePawn) ||
                (m.toFile < 8 && board[squareIndex(m.toFile + 1, 5)] == WhitePawn))) {
        enPassantPossible = true;
        enPassantFile = m.toFile;
        enPassantRank = m.toRank;
    }

    if (m.piece == WhiteKing) {
        whiteKingFile = m.toFile;
        whiteKingRank = m.toRank;
    } else if (m.piece == BlackKing) {
        blackKingFile = m.toFile;
        blackKingRank = m.toRank;
    }
    if (takenKing != Empty) {
        followRemainingKing(takenKing);
    }

    if (m.hasCompanion) {
        // The rook's part toggles the side and counts the half-move, so castling is one ply.
        makeMove(*m.companion);
        return;
    }
    sideToMove = sideToMove == 1 ? 0 : 1;
    if (m.piece == WhitePawn || m.piece == BlackPawn || m.isCapture) {
        halfmoveClock = 0;
    } else {
        ++halfmoveClock;
    }
    assert(kingSquaresAgreeWithBoard());
}

void Position::removeMovePieces(const Move& m) {
    board[squareIndex(m.fromFile, m.fromRank)] = Empty;
    board[squareIndex(m.toFile, m.toRank)] = Empty;
    if (m.isCapture) {
        board[squareIndex(m.captureFile, m.captureRank)] = Empty;
    }
    if (m.hasCompanion) {
        removeMovePieces(*m.companion);
    }
}

void Position::unmakeMove(const Move& m, const Position& before) {
    if (m.hasCompanion) {
        unmakeMove(*m.companion, before);
    }
    const int from = squareIndex(m.fromFile, m.fromRank);
    const int to = squareIndex(m.toFile, m.toRank);
    const int p = before.board[from];
    board[from] = p;
    board[to] = before.board[to];
    if (m.isCapture) {
        const int capture = squareIndex(m.captureFile, m.captureRank);
        board[capture] = before.board[capture];
    }
    if (m.isCapture || p == WhiteKing || p == WhiteRook) {
        whiteCastleKingside = before.whiteCastleKingside;
        whiteCastleQueenside = before.whiteCastleQueenside;
    }
    if (m.isCapture || p == BlackKing || p == BlackRook) {
        blackCastleKingside = before.blackCastleKingside;
        blackCastleQueenside = before.blackCastleQueenside;
    }
    enPassantPossible = before.enPassantPossible;
    if (enPassantPossible) {
        enPassantFile = before.enPassantFile;
        enPassantRank = before.enPassantRank;
    }
    // A capture can have moved either record to another king.
    if (m.isCapture || p == WhiteKing) {
        whiteKingFile = before.whiteKingFile;
        whiteKingRank = before.whiteKingRank;
    }
    if (m.isCapture || p == BlackKing) {
        blackKingFile = before.blackKingFile;
        blackKingRank = before.blackKingRank;
    }
    sideToMove = before.sideToMove;
    halfmoveClock = before.halfmoveClock;
    assert(kingSquaresAgreeWithBoard());
}

bool Position::kingSquaresAgreeWithBoard() const {
    const auto agrees = [this](int file, int rank, int king) {
        if (file >= 1 && file <= 8 && rank >= 1 && rank <= 8 && at(file, rank) == king) {
            return true;
        }
        return std::none_of(std::begin(board), std::end(board),
                            [king](int32_t cell) { return cell == king; });
    };
    return agrees(whiteKingFile, whiteKingRank, WhiteKing) &&
           agrees(blackKingFile, blackKingRank, BlackKing);
}
