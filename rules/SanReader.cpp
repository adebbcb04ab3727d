#include "SanReader.h"

#include "BoardGeometry.h"
#include "Move.h"
#include "Position.h"

namespace {

// The parts of a move text; kinds are the White piece codes.
struct SanParts {
    bool castling = false;
    bool kingside = false;
    int kind = Empty; // Empty: a pawn, or the piece on the origin when the text names it whole
    int fromFile = 0, fromRank = 0; // 0 where the text does not name it
    int toFile = 0, toRank = 0;
    int promotion = Empty;
    bool captureMark = false;
};

bool isFile(char c) {
    return c >= 'a' && c <= 'h';
}
bool isRank(char c) {
    return c >= '1' && c <= '8';
}

int pieceKind(char letter) {
    switch (letter) {
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
    default:
        return Empty;
    }
}

int promotionKind(char letter) {
    const char upper = letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 32) : letter;
    const int kind = pieceKind(upper);
    return kind == WhiteKing || kind == WhitePawn ? Empty : kind;
}

// Drops what may follow a move: check and mate marks, annotation marks and "e.p.", in any order.
std::string_view withoutSuffixes(std::string_view text) {
    for (bool dropped = true; dropped;) {
        dropped = false;
        while (!text.empty() && (text.back() == '+' || text.back() == '#' || text.back() == '!' ||
                                 text.back() == '?')) {
            text.remove_suffix(1);
            dropped = true;
        }
        if (text.size() > 4 && text.ends_with("e.p.")) {
            text.remove_suffix(4);
            dropped = true;
        }
    }
    return text;
}

bool isCastlingText(std::string_view text) {
    if (text.size() != 3 && text.size() != 5) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool ok = i % 2 == 1 ? c == '-' : c == 'O' || c == '0' || c == 'o';
        if (!ok) {
            return false;
        }
    }
    return true;
}

bool parse(std::string_view text, SanParts& parts) {
    text = withoutSuffixes(text);
    if (isCastlingText(text)) {
        parts.castling = true;
        parts.kingside = text.size() == 3;
        return true;
    }
    // The promotion piece: "=Q", "/Q", "(Q)" or the bare letter after the rank.
    if (text.size() >= 4 && text.back() == ')' && text[text.size() - 3] == '(') {
        parts.promotion = promotionKind(text[text.size() - 2]);
        if (parts.promotion == Empty) {
            return false;
        }
        text.remove_suffix(3);
    } else if (text.size() >= 3 && promotionKind(text.back()) != Empty) {
        const char before = text[text.size() - 2];
        if (before == '=' || before == '/') {
            parts.promotion = promotionKind(text.back());
            text.remove_suffix(2);
        } else if (before == '1' || before == '8') {
            parts.promotion = promotionKind(text.back());
            text.remove_suffix(1);
        }
    }
    if (text.size() < 2 || !isFile(text[text.size() - 2]) || !isRank(text.back())) {
        return false;
    }
    parts.toFile = text[text.size() - 2] - 'a' + 1;
    parts.toRank = text.back() - '0';
    text.remove_suffix(2);

    if (!text.empty() && pieceKind(text.front()) != Empty) {
        parts.kind = pieceKind(text.front());
        text.remove_prefix(1);
    }
    if (!text.empty() && isFile(text.front())) {
        parts.fromFile = text.front() - 'a' + 1;
        text.remove_prefix(1);
    }
    if (!text.empty() && isRank(text.front())) {
        parts.fromRank = text.front() - '0';
        text.remove_prefix(1);
    }
    if (!text.empty() && (text.front() == 'x' || text.front() == ':' || text.front() == '-')) {
        parts.captureMark = text.front() != '-';
        text.remove_prefix(1);
    }
    if (parts.kind == Empty && (parts.fromFile == 0 || parts.fromRank == 0)) {
        parts.kind = WhitePawn;
    }
    return text.empty();
}

// The squares from which a piece of the given code reaches the target by its way of moving
// (pawns excepted), at most one per direction or jump.
int pieceOrigins(const Position& position, int code, int kind, int target, int* origins) {
    int count = 0;
    if (kind == WhiteKnight || kind == WhiteKing) {
        const bool knight = kind == WhiteKnight;
        const uint8_t* cells = knight ? geometry.knight[target] : geometry.king[target];
        const int n = knight ? geometry.knightCount[target] : geometry.kingCount[target];
        for (int j = 0; j < n; ++j) {
            if (position.board[cells[j]] == code) {
                origins[count++] = cells[j];
            }
        }
        return count;
    }
    const int first = kind == WhiteBishop ? 4 : 0;
    const int last = kind == WhiteRook ? 4 : 8;
    for (int d = first; d < last; ++d) {
        const uint8_t* path = geometry.ray[target][d];
        for (int k = 0, n = geometry.rayLength[target][d]; k < n; ++k) {
            const int occupant = position.board[path[k]];
            if (occupant != Empty) {
                if (occupant == code) {
                    origins[count++] = path[k];
                }
                break;
            }
        }
    }
    return count;
}

// The squares from which a pawn of the side to move could go to the target: straight ahead
// onto an empty square, or diagonally onto an enemy piece or the en-passant square.
int pawnOrigins(const Position& position, const SanParts& parts, int* origins) {
    const bool white = position.sideToMove == 1;
    const int pawn = white ? WhitePawn : BlackPawn;
    const int back = white ? -1 : 1;
    const int fromRank = parts.toRank + back;
    if (fromRank < 1 || fromRank > 8) {
        return 0;
    }
    const int occupant = position.at(parts.toFile, parts.toRank);
    int count = 0;
    const bool capture = parts.fromFile != 0 ? parts.fromFile != parts.toFile : parts.captureMark;
    if (!capture) {
        if (occupant != Empty) {
            return 0;
        }
        if (position.at(parts.toFile, fromRank) == pawn) {
            origins[count++] = squareIndex(parts.toFile, fromRank);
        } else if (position.at(parts.toFile, fromRank) == Empty &&
                   parts.toRank == (white ? 4 : 5) &&
                   position.at(parts.toFile, fromRank + back) == pawn) {
            origins[count++] = squareIndex(parts.toFile, fromRank + back);
        }
        return count;
    }
    const bool enPassant = occupant == Empty && position.enPassantPossible &&
                           position.enPassantFile == parts.toFile &&
                           position.enPassantRank == fromRank;
    const bool enemy = white ? isBlackPiece(occupant) : isWhitePiece(occupant);
    if (!enemy && !enPassant) {
        return 0;
    }
    for (int file = parts.toFile - 1; file <= parts.toFile + 1; file += 2) {
        if (file >= 1 && file <= 8 && position.at(file, fromRank) == pawn) {
            origins[count++] = squareIndex(file, fromRank);
        }
    }
    return count;
}

bool leavesOwnKingAttacked(const Position& position, const Move& move, Position& scratch) {
    return position.sideToMove == 1 ? position.leavesWhiteKingAttacked(move, scratch)
                                    : position.leavesBlackKingAttacked(move, scratch);
}

SanReading readCastling(Position& position, bool kingside, Move& move) {
    const bool white = position.sideToMove == 1;
    const int rank = white ? 1 : 8;
    const bool allowed =
        white ? (kingside ? position.whiteCastleKingside : position.whiteCastleQueenside)
              : (kingside ? position.blackCastleKingside : position.blackCastleQueenside);
    if (!allowed) {
        return SanReading::NotLegal;
    }
    // The squares between king and rook are empty, and the king is not in check, does not pass
    // an attacked square and does not land on one.
    for (int file = kingside ? 6 : 2; file <= (kingside ? 7 : 4); ++file) {
        if (position.at(file, rank) != Empty) {
            return SanReading::NotLegal;
        }
    }
    if (white ? position.isWhiteKingAttacked() : position.isBlackKingAttacked()) {
        return SanReading::NotLegal;
    }
    Position scratch = position;
    Move pass(&position);
    pass.setSquares(5, rank, kingside ? 6 : 4, rank);
    if (leavesOwnKingAttacked(position, pass, scratch)) {
        return SanReading::NotLegal;
    }
    move.position = &position;
    move.setSquares(5, rank, kingside ? 7 : 3, rank);
    move.attachCastlingCompanion(white, kingside);
    return leavesOwnKingAttacked(position, move, scratch) ? SanReading::NotLegal
                                                          : SanReading::Legal;
}

} // namespace

SanReading readSan(Position& position, std::string_view text, Move& move) {
    SanParts parts;
    if (!parse(text, parts)) {
        return SanReading::NotAMove;
    }
    const bool white = position.sideToMove == 1;
    const int offset = white ? 0 : BlackKing - WhiteKing;
    if (!parts.castling && parts.kind == Empty) {
        // Long algebraic or coordinate notation: "e2-e4", "g1f3", "e1g1".
        const int origin = position.at(parts.fromFile, parts.fromRank);
        if (!(white ? isWhitePiece(origin) : isBlackPiece(origin))) {
            return SanReading::NotLegal;
        }
        parts.kind = origin - offset;
    }
    if (parts.kind == WhiteKing && parts.fromFile == 5 && parts.toRank == parts.fromRank &&
        (parts.toFile == 7 || parts.toFile == 3)) {
        parts.castling = true;
        parts.kingside = parts.toFile == 7;
    }
    if (parts.castling) {
        return readCastling(position, parts.kingside, move);
    }
    const int target = squareIndex(parts.toFile, parts.toRank);
    const int occupant = position.board[target];
    if (white ? isWhitePiece(occupant) : isBlackPiece(occupant)) {
        return SanReading::NotLegal;
    }
    const bool pawn = parts.kind == WhitePawn;
    const bool lastRank = parts.toRank == (white ? 8 : 1);
    if (parts.promotion != Empty && (!pawn || !lastRank)) {
        return SanReading::NotLegal;
    }

    int origins[8];
    const int count =
        pawn ? pawnOrigins(position, parts, origins)
             : pieceOrigins(position, parts.kind + offset, parts.kind, target, origins);
    Position scratch = position;
    Move candidate(&position);
    int found = 0;
    for (int i = 0; i < count; ++i) {
        const int fromFile = geometry.fileOf[origins[i]];
        const int fromRank = geometry.rankOf[origins[i]];
        if ((parts.fromFile != 0 && parts.fromFile != fromFile) ||
            (parts.fromRank != 0 && parts.fromRank != fromRank)) {
            continue;
        }
        candidate.setSquares(fromFile, fromRank, parts.toFile, parts.toRank);
        if (occupant != Empty) {
            candidate.isCapture = true;
            candidate.captureFile = parts.toFile;
            candidate.captureRank = parts.toRank;
        } else if (pawn && fromFile != parts.toFile) {
            candidate.isCapture = true; // en passant: the pawn beside the origin is taken
            candidate.captureFile = parts.toFile;
            candidate.captureRank = fromRank;
        }
        if (pawn && lastRank) {
            candidate.resultPiece =
                (parts.promotion != Empty ? parts.promotion : WhiteQueen) + offset;
        }
        if (leavesOwnKingAttacked(position, candidate, scratch)) {
            continue;
        }
        if (++found == 1) {
            move = candidate;
        }
    }
    if (found == 0) {
        return SanReading::NotLegal;
    }
    return found == 1 ? SanReading::Legal : SanReading::Ambiguous;
}
