#include "San.h"

#include "Move.h"
#include "Position.h"

#include <algorithm>

namespace {

int whiteKind(int piece) {
    return isBlackPiece(piece) ? piece - (BlackKing - WhiteKing) : piece;
}

char pieceLetter(int piece) {
    switch (whiteKind(piece)) {
    case WhiteKing:
        return 'K';
    case WhiteQueen:
        return 'Q';
    case WhiteRook:
        return 'R';
    case WhiteBishop:
        return 'B';
    default:
        return 'N';
    }
}

char fileLetter(int file) {
    return static_cast<char>('a' + file - 1);
}

char rankDigit(int rank) {
    return static_cast<char>('0' + rank);
}

// What the text of a piece move needs besides the target: nothing, the origin's file, its rank,
// or both, whichever is the first to tell it apart from every other legal move of a like piece
// to the same square.
std::string origin(const Position& before, const Move& move) {
    Position generating = before;
    Position scratch = before;
    MoveList legal(&generating);
    const int count = generating.generateMoves(legal, scratch, false);
    bool rival = false, rivalOnFile = false, rivalOnRank = false;
    for (int i = 0; i < count; ++i) {
        const Move& other = legal[i];
        if (!other.isLegal || other.piece != move.piece || other.toFile != move.toFile ||
            other.toRank != move.toRank ||
            (other.fromFile == move.fromFile && other.fromRank == move.fromRank)) {
            continue;
        }
        rival = true;
        rivalOnFile = rivalOnFile || other.fromFile == move.fromFile;
        rivalOnRank = rivalOnRank || other.fromRank == move.fromRank;
    }
    if (!rival) {
        return "";
    }
    if (!rivalOnFile) {
        return std::string(1, fileLetter(move.fromFile));
    }
    if (!rivalOnRank) {
        return std::string(1, rankDigit(move.fromRank));
    }
    return {fileLetter(move.fromFile), rankDigit(move.fromRank)};
}

bool sameBoard(const Position& a, const Position& b) {
    return std::equal(std::begin(a.board), std::end(a.board), std::begin(b.board));
}

} // namespace

std::string sanText(const Position& before, const Move& move) {
    std::string text;
    if (move.hasCompanion) {
        text = move.toFile == 7 ? "O-O" : "O-O-O";
    } else if (whiteKind(move.piece) == WhitePawn) {
        if (move.isCapture) {
            text += fileLetter(move.fromFile);
            text += 'x';
        }
        text += fileLetter(move.toFile);
        text += rankDigit(move.toRank);
        if (move.resultPiece != move.piece) {
            text += '=';
            text += pieceLetter(move.resultPiece);
        }
    } else {
        text += pieceLetter(move.piece);
        text += origin(before, move);
        if (move.isCapture) {
            text += 'x';
        }
        text += fileLetter(move.toFile);
        text += rankDigit(move.toRank);
    }

    Position after = before;
    after.drawClaimed = false;
    after.makeMove(move);
    if (after.isWhiteCheckmated() || after.isBlackCheckmated()) {
        text += '#';
    } else if (after.sideToMove == 1 ? after.isWhiteKingAttacked() : after.isBlackKingAttacked()) {
        text += '+';
    }
    return text;
}

std::vector<std::string> sanMovesOfRecord(const Position& current) {
    std::vector<const Position*> record;
    for (const Position* node = &current; node != nullptr; node = node->previous) {
        record.push_back(node);
    }
    std::reverse(record.begin(), record.end());

    std::vector<std::string> moves;
    for (size_t i = 0; i + 1 < record.size(); ++i) {
        // A copy: the generator must not see a draw claim, and the moves are bound to it.
        Position before = *record[i];
        before.drawClaimed = false;
        Position scratch = before;
        MoveList legal(&before);
        const int count = before.generateMoves(legal, scratch, false);
        bool found = false;
        for (int j = 0; j < count && !found; ++j) {
            if (!legal[j].isLegal) {
                continue;
            }
            Position after = before;
            after.makeMove(legal[j]);
            if (sameBoard(after, *record[i + 1])) {
                moves.push_back(sanText(before, legal[j]));
                found = true;
            }
        }
        if (!found) {
            // Only a record that was not made by playing moves (a set-up) gets here; what
            // follows cannot be written as moves.
            break;
        }
    }
    return moves;
}
