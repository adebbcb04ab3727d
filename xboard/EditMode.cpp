#include "XBoardUserInterface.h"

#include <algorithm>

namespace {

// Every castling right whose king and rook still stand at home, and nothing else.
void resetCastlingAndFlags(Position& p) {
    p.whiteCastleKingside = p.whiteCastleQueenside = true;
    p.blackCastleKingside = p.blackCastleQueenside = true;
    p.enPassantPossible = false;
    p.drawClaimed = false;
    p.updateCastlingRights();
}

} // namespace

void XBoardUserInterface::editMode() {
    game_.clearHistory();
    bool white = true;
    std::string token;
    while (in_ >> token) {
        if (token == ".") {
            resetCastlingAndFlags(game_);
            int whitePieces = 0;
            int blackPieces = 0;
            for (int file = 1; file <= 8; ++file) {
                for (int rank = 1; rank <= 8; ++rank) {
                    const int code = game_.at(file, rank);
                    whitePieces += isWhitePiece(code) ? 1 : 0;
                    blackPieces += isBlackPiece(code) ? 1 : 0;
                }
            }
            const bool accepted =
                whitePieces >= 1 && whitePieces <= 16 && blackPieces >= 1 && blackPieces <= 16;
            if (!accepted) {
                showError("The position is invalid. Veltmark has rejected it.");
                game_.setInitialPosition();
            }
            return;
        }
        if (token == "c") {
            white = !white;
        } else if (token == "#") {
            // The side to move stays: a GUI without setboard sets up a position with Black to
            // move by sending a move before edit.
            std::fill(std::begin(game_.board), std::end(game_.board), Empty);
            resetCastlingAndFlags(game_);
        } else {
            try {
                parsePiecePlacement(token, white);
            } catch (const PiecePlacingParsingException&) {
                writeLine("Error (unknown command in edit mode): " + token);
            }
        }
    }
    // The input ended before "."; the command loop sees the end next and quits.
}

void XBoardUserInterface::parsePiecePlacement(const std::string& token, bool white) {
    if (token.size() != 3) {
        throw PiecePlacingParsingException("The command has incorrect length");
    }
    int piece = Empty;
    switch (token[0]) {
    case 'K':
        piece = WhiteKing;
        break;
    case 'Q':
        piece = WhiteQueen;
        break;
    case 'R':
        piece = WhiteRook;
        break;
    case 'B':
        piece = WhiteBishop;
        break;
    case 'N':
        piece = WhiteKnight;
        break;
    case 'P':
        piece = WhitePawn;
        break;
    case 'x':
        piece = Empty;
        break;
    default:
        throw PiecePlacingParsingException("Illegal piece");
    }
    if (piece != Empty && !white) {
        piece += BlackKing - WhiteKing;
    }
    if (token[1] < 'a' || token[1] > 'h') {
        throw PiecePlacingParsingException("Illegal file");
    }
    if (token[2] < '1' || token[2] > '8') {
        throw PiecePlacingParsingException("Illegal rank");
    }
    game_.placePiece(token[1] - 'a' + 1, token[2] - '0', piece);
}
