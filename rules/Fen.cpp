#include "Fen.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

namespace {

constexpr std::string_view pieceLetters = " KQRBNPkqrbnp";

int pieceFromLetter(char c) {
    const auto at = pieceLetters.find(c);
    return c != ' ' && at != std::string_view::npos ? static_cast<int>(at) : Empty;
}

std::string squareName(int file, int rank) {
    return {static_cast<char>('a' + file - 1), static_cast<char>('0' + rank)};
}

const char* sideName(bool white) {
    return white ? "White" : "Black";
}

[[noreturn]] void reject(const std::string& message) {
    throw InvalidFenException(message);
}

std::vector<std::string_view> fieldsOf(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t\r\n", at);
        if (start == std::string_view::npos) {
            break;
        }
        std::size_t end = text.find_first_of(" \t\r\n", start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        fields.push_back(text.substr(start, end - start));
        at = end;
    }
    return fields;
}

bool isNumber(std::string_view field) {
    return !field.empty() && field.find_first_not_of("0123456789") == std::string_view::npos;
}

int numberField(std::string_view field, const char* what) {
    int value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (!isNumber(field) || error != std::errc() || end != field.data() + field.size()) {
        reject(std::string("the ") + what + " \"" + std::string(field) +
               "\" is not a whole number from 0 up");
    }
    return value;
}

void readPlacement(std::string_view placement, Position& p) {
    int file = 1;
    int rank = 8;
    const auto rankLength = [&] {
        return "rank " + std::to_string(rank) + " describes " + std::to_string(file - 1) +
               " squares, not 8";
    };
    for (const char c : placement) {
        if (c == '/') {
            if (file != 9) {
                reject(rankLength());
            }
            if (rank == 1) {
                reject("the piece placement has more than 8 ranks");
            }
            --rank;
            file = 1;
        } else if (c >= '1' && c <= '8') {
            file += c - '0';
            if (file > 9) {
                reject("rank " + std::to_string(rank) + " describes more than 8 squares");
            }
        } else if (const int piece = pieceFromLetter(c); piece != Empty) {
            if (file > 8) {
                reject("rank " + std::to_string(rank) + " describes more than 8 squares");
            }
            p.board[squareIndex(file, rank)] = piece;
            ++file;
        } else {
            reject(std::string("'") + c +
                   "' in the piece placement is neither a piece letter (KQRBNP, kqrbnp) nor a "
                   "count of empty squares (1 to 8)");
        }
    }
    if (rank != 1) {
        reject("the piece placement has " + std::to_string(9 - rank) + " ranks, not 8");
    }
    if (file != 9) {
        reject(rankLength());
    }
}

void readCastling(std::string_view field, Position& p) {
    if (field == "-") {
        return;
    }
    for (const char c : field) {
        switch (c) {
        case 'K':
            p.whiteCastleKingside = true;
            break;
        case 'Q':
            p.whiteCastleQueenside = true;
            break;
        case 'k':
            p.blackCastleKingside = true;
            break;
        case 'q':
            p.blackCastleQueenside = true;
            break;
        default:
            reject("the castling field \"" + std::string(field) +
                   "\" holds something other than K, Q, k, q or a lone -");
        }
    }
    // A right whose king or rook has left its square is a common slip, and cannot be used anyway.
    p.updateCastlingRights();
}

void readEnPassant(std::string_view field, Position& p) {
    if (field == "-") {
        return;
    }
    const bool white = p.sideToMove == 1;
    if (field.size() != 2 || field[0] < 'a' || field[0] > 'h' ||
        (field[1] != '3' && field[1] != '6')) {
        reject("the en-passant field \"" + std::string(field) +
               "\" is neither - nor a square on rank 3 or 6");
    }
    const int file = field[0] - 'a' + 1;
    const int skipped = field[1] - '0';
    if (skipped != (white ? 6 : 3)) {
        reject("the en-passant square " + std::string(field) + " does not fit " + sideName(white) +
               " to move: it would be on rank " + (white ? "6" : "3"));
    }
    // The square that the double step skipped, and the one it came from, are empty; the pawn
    // stands beyond them.
    const int pawnRank = white ? 5 : 4;
    const int origin = white ? 7 : 2;
    const int pawn = white ? BlackPawn : WhitePawn;
    if (p.at(file, pawnRank) != pawn || p.at(file, skipped) != Empty ||
        p.at(file, origin) != Empty) {
        reject("the en-passant square " + std::string(field) + " does not follow a double step: " +
               sideName(!white) + " has no pawn on " + squareName(file, pawnRank) + " with " +
               squareName(file, skipped) + " and " + squareName(file, origin) + " empty");
    }
    // Recorded, as a move records it, only when a pawn stands ready to take.
    const int taker = white ? WhitePawn : BlackPawn;
    if ((file > 1 && p.at(file - 1, pawnRank) == taker) ||
        (file < 8 && p.at(file + 1, pawnRank) == taker)) {
        p.enPassantPossible = true;
        p.enPassantFile = file;
        p.enPassantRank = pawnRank;
    }
}

// What the engine could not search sensibly: a missing or extra king, impossible material, a
// pawn where none can stand.
void checkMaterial(Position& p) {
    for (const bool white : {true, false}) {
        const int king = white ? WhiteKing : BlackKing;
        const int pawn = white ? WhitePawn : BlackPawn;
        int kings = 0;
        int pawns = 0;
        int pieces = 0;
        for (int file = 1; file <= 8; ++file) {
            for (int rank = 1; rank <= 8; ++rank) {
                const int code = p.at(file, rank);
                if (white ? !isWhitePiece(code) : !isBlackPiece(code)) {
                    continue;
                }
                ++pieces;
                if (code == king) {
                    ++kings;
                    p.placePiece(file, rank, king); // records the king's square
                } else if (code == pawn) {
                    ++pawns;
                    if (rank == 1 || rank == 8) {
                        reject(std::string("a ") + (white ? "White" : "Black") +
                               " pawn stands on " + squareName(file, rank) +
                               ": pawns never stand on the first or last rank");
                    }
                }
            }
        }
        if (kings != 1) {
            reject(std::string(sideName(white)) + " has " +
                   (kings == 0 ? "no king" : std::to_string(kings) + " kings") +
                   ": each side needs exactly one");
        }
        if (pieces > 16) {
            reject(std::string(sideName(white)) + " has " + std::to_string(pieces) +
                   " pieces: no side can have more than 16");
        }
        if (pawns > 8) {
            reject(std::string(sideName(white)) + " has " + std::to_string(pawns) +
                   " pawns: no side can have more than 8");
        }
    }
}

} // namespace

FenPosition readFen(std::string_view text) {
    const std::vector<std::string_view> fields = fieldsOf(text);
    if (fields.empty()) {
        reject("the FEN is empty");
    }
    if (fields.size() < 2) {
        reject("the side to move is missing after the piece placement");
    }
    FenPosition result;
    Position& p = result.position;
    p = Position{};
    p.previous = nullptr;
    readPlacement(fields[0], p);
    checkMaterial(p);

    if (fields[1] != "w" && fields[1] != "b") {
        reject("the side to move is \"" + std::string(fields[1]) + "\", not w or b");
    }
    p.sideToMove = fields[1] == "w" ? 1 : 0;

    std::size_t next = 2;
    if (next < fields.size()) {
        readCastling(fields[next++], p);
    }
    // A number where the en-passant square belongs: the field was left out.
    if (next < fields.size() && !isNumber(fields[next])) {
        readEnPassant(fields[next++], p);
    }
    if (next < fields.size()) {
        p.halfmoveClock = numberField(fields[next++], "half-move clock");
    }
    if (next < fields.size()) {
        // Move number 0 is a common slip for 1.
        result.fullmoveNumber = std::max(1, numberField(fields[next++], "move number"));
    }
    if (next < fields.size()) {
        reject("unexpected \"" + std::string(fields[next]) + "\" after the move number");
    }

    const bool whiteMoved = p.sideToMove == 0;
    if (whiteMoved ? p.isWhiteKingAttacked() : p.isBlackKingAttacked()) {
        reject(std::string(sideName(whiteMoved)) + " is in check with " + sideName(!whiteMoved) +
               " to move");
    }
    return result;
}

bool setFromFen(Position& position, std::string_view text) {
    try {
        position = readFen(text).position;
        return true;
    } catch (const InvalidFenException&) {
        return false;
    }
}

std::string toFen(const Position& position, int fullmoveNumber) {
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
            out += pieceLetters[static_cast<std::size_t>(piece)];
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
        out += squareName(position.enPassantFile, position.sideToMove == 1 ? 6 : 3);
    } else {
        out += '-';
    }
    out += ' ' + std::to_string(position.halfmoveClock) + ' ' + std::to_string(fullmoveNumber);
    return out;
}
