#include "Fen.h"

#include "Position.h"

#include <sstream>

namespace {

int pieceFromLetter(char c) {
    switch (c) {
    case 'K':
        return WhiteKing;
    case 'Q':
        return WhiteQueen;
    case 'R':
        return WhiteRook;
    case 'B':
        return WhiteBishop;
    case 'N':
        return WhiteKnight;
    case 'P':
        return WhitePawn;
    case 'k':
        return BlackKing;
    case 'q':
        return BlackQueen;
    case 'r':
        return BlackRook;
    case 'b':
        return BlackBishop;
    case 'n':
        return BlackKnight;
    case 'p':
        return BlackPawn;
    default:
        return -1;
    }
}

} // namespace

bool setFromFen(Position& position, const std::string& fen) {
    std::istringstream in(fen);
    std::string placement, side, castling = "-", enPassant = "-";
    int halfmoves = 0;
    if (!(in >> placement >> side)) {
        return false;
    }
    in >> castling >> enPassant;
    if (!(in >> halfmoves)) {
        halfmoves = 0;
    }
    Position p{};
    int file = 1, rank = 8;
    for (const char c : placement) {
        if (c == '/') {
            if (file != 9 || rank == 1) {
                return false;
            }
            --rank;
            file = 1;
        } else if (c >= '1' && c <= '8') {
            file += c - '0';
            if (file > 9) {
                return false;
            }
        } else {
            const int piece = pieceFromLetter(c);
            if (piece < 0 || file > 8) {
                return false;
            }
            p.placePiece(file, rank, piece);
            ++file;
        }
    }
    if (rank != 1 || file != 9) {
        return false;
    }
    if (side != "w" && side != "b") {
        return false;
    }
    p.sideToMove = side == "w" ? 1 : 0;
    for (const char c : castling) {
        p.whiteCastleKingside |= c == 'K';
        p.whiteCastleQueenside |= c == 'Q';
        p.blackCastleKingside |= c == 'k';
        p.blackCastleQueenside |= c == 'q';
    }
    p.updateCastlingRights();
    if (enPassant.size() == 2 && enPassant[0] >= 'a' && enPassant[0] <= 'h') {
        // The record names the pawn that may be taken, and exists only when a pawn could take it.
        const int f = enPassant[0] - 'a' + 1;
        const int pawnRank = p.sideToMove == 1 ? 5 : 4;
        const int taker = p.sideToMove == 1 ? WhitePawn : BlackPawn;
        if ((f > 1 && p.at(f - 1, pawnRank) == taker) ||
            (f < 8 && p.at(f + 1, pawnRank) == taker)) {
            p.enPassantPossible = true;
            p.enPassantFile = f;
            p.enPassantRank = pawnRank;
        }
    }
    p.halfmoveClock = halfmoves;
    p.previous = nullptr;
    p.drawClaimed = false;
    position = p;
    return true;
}

std::string toFen(const Position& position) {
    static const char letters[] = " KQRBNPkqrbnp";
    std::string out;
    for (int rank = 8; rank >= 1; --rank) {
        int gap = 0;
        for (int file = 1; file <= 8; ++file) {
            const int piece = position.at(file, rank);
            if (piece == Empty) {
                ++gap;
                continue;
            }
            if (gap) {
                out += static_cast<char>('0' + gap);
                gap = 0;
            }
            out += letters[piece];
        }
        if (gap) {
            out += static_cast<char>('0' + gap);
        }
        if (rank > 1) {
            out += '/';
        }
    }
    out += position.sideToMove == 1 ? " w " : " b ";
    std::string castling;
    if (position.whiteCastleKingside) {
        castling += 'K';
    }
    if (position.whiteCastleQueenside) {
        castling += 'Q';
    }
    if (position.blackCastleKingside) {
        castling += 'k';
    }
    if (position.blackCastleQueenside) {
        castling += 'q';
    }
    out += castling.empty() ? "-" : castling;
    out += ' ';
    if (position.enPassantPossible) {
        out += static_cast<char>('a' + position.enPassantFile - 1);
        out += position.sideToMove == 1 ? '6' : '3';
    } else {
        out += '-';
    }
    out += ' ' + std::to_string(position.halfmoveClock) + " 1";
    return out;
}
