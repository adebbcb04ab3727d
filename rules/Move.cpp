#include "Move.h"

#include "Position.h"
#include "UserInterface.h"

#include <new>

namespace {

// Per-thread cache of released Move blocks. Blocks may be released on another thread than the
// one that allocated them; they simply join that thread's cache. The list head and the closing
// flag are trivially destructible, so moves released while the thread's other objects are torn
// down still find them; from then on blocks go straight back to the heap.
struct FreeMove {
    FreeMove* next;
};
thread_local FreeMove* freeMoves = nullptr;
thread_local bool freeListClosed = false;

struct FreeListCloser {
    ~FreeListCloser() {
        freeListClosed = true;
        while (freeMoves) {
            FreeMove* next = freeMoves->next;
            ::operator delete(freeMoves);
            freeMoves = next;
        }
    }
};
thread_local FreeListCloser freeListCloser;

} // namespace

void* Move::operator new(std::size_t size) {
    if (size == sizeof(Move) && freeMoves) {
        FreeMove* block = freeMoves;
        freeMoves = block->next;
        return block;
    }
    (void)&freeListCloser; // makes sure this thread's cache is emptied when it ends
    return ::operator new(size);
}

void Move::operator delete(void* p, std::size_t size) noexcept {
    if (!p) {
        return;
    }
    if (size == sizeof(Move) && !freeListClosed) {
        auto* block = static_cast<FreeMove*>(p);
        block->next = freeMoves;
        freeMoves = block;
        return;
    }
    ::operator delete(p);
}

Move::Move() : userInterface(theUserInterface) {}

Move::Move(Position* onPosition) : userInterface(theUserInterface), position(onPosition) {}

Move::Move(const Move& other) {
    copyFieldsFrom(other);
}

Move& Move::operator=(const Move& other) {
    if (this != &other) {
        releaseCompanion();
        copyFieldsFrom(other);
    }
    return *this;
}

Move::~Move() = default;

void Move::copyFieldsFrom(const Move& other) {
    fromFile = other.fromFile;
    fromRank = other.fromRank;
    toFile = other.toFile;
    toRank = other.toRank;
    isCapture = other.isCapture;
    captureFile = other.captureFile;
    captureRank = other.captureRank;
    piece = other.piece;
    resultPiece = other.resultPiece;
    hasCompanion = other.hasCompanion;
    isLegal = other.isLegal;
    userInterface = other.userInterface;
    position = other.position;
    if (other.companion) {
        companion.reset(new Move(other.position));
        *companion = *other.companion;
        companion->userInterface = theUserInterface;
        companion->position = other.position;
    } else {
        companion.reset();
    }
}

std::string Move::toString() const {
    std::string text;
    text.reserve(5);
    text += static_cast<char>('a' + fromFile - 1);
    text += std::to_string(fromRank);
    text += static_cast<char>('a' + toFile - 1);
    text += std::to_string(toRank);
    if (resultPiece != piece) {
        switch (resultPiece) {
        case WhiteQueen:
        case BlackQueen:
            text += 'q';
            break;
        case WhiteRook:
        case BlackRook:
            text += 'r';
            break;
        case WhiteBishop:
        case BlackBishop:
            text += 'b';
            break;
        case WhiteKnight:
        case BlackKnight:
            text += 'n';
            break;
        default:
            if (userInterface) {
                userInterface->showError(
                    "Illegal move: \t\t\t\t\t\t\t\t\t  Promotion to a piece other "
                    "than \t\t\t\t\t\t\t\t\t  queen, rook, bishop or knight");
            }
            break;
        }
    }
    return text;
}

namespace {

bool isFileLetter(char c) {
    return c >= 'a' && c <= 'h';
}
bool isRankDigit(char c) {
    return c >= '1' && c <= '8';
}

} // namespace

bool Move::fromString(const std::string& text) {
    releaseCompanion();
    if (!text.empty() && text[0] == '0') {
        const bool kingside = text == "0-0";
        if (!kingside && text != "0-0-0") {
            return false;
        }
        const int rank = position->sideToMove == 1 ? 1 : 8;
        fromFile = 5;
        fromRank = rank;
        toFile = kingside ? 7 : 3;
        toRank = rank;
    } else {
        // File letter, rank digit, file letter, rank digit; fields read so far stay written.
        if (text.size() < 4) {
            return false;
        }
        int32_t* fields[4] = {&fromFile, &fromRank, &toFile, &toRank};
        for (int k = 0; k < 4; ++k) {
            const char c = text[k];
            const bool ok = k % 2 == 0 ? isFileLetter(c) : isRankDigit(c);
            if (!ok) {
                return false;
            }
            *fields[k] = k % 2 == 0 ? c - 'a' + 1 : c - '0';
        }
    }
    fillFromBoard();
    const Position& pos = *position;
    if (piece == WhitePawn && toRank == 8) {
        resultPiece = WhiteQueen;
    } else if (piece == BlackPawn && toRank == 1) {
        resultPiece = BlackQueen;
    }

    if (text.size() == 5 && text != "0-0-0") {
        const int colourOffset = pos.sideToMove == 1 ? 0 : 6;
        switch (text[4]) {
        case 'Q':
        case 'q':
            resultPiece = WhiteQueen + colourOffset;
            break;
        case 'R':
        case 'r':
            resultPiece = WhiteRook + colourOffset;
            break;
        case 'B':
        case 'b':
            resultPiece = WhiteBishop + colourOffset;
            break;
        case 'N':
        case 'n':
            resultPiece = WhiteKnight + colourOffset;
            break;
        default:
            return false;
        }
    }
    detectCastling();
    detectEnPassant();
    return true;
}

void Move::setFromSquares(int newFromFile, int newFromRank, int newToFile, int newToRank) {
    fromFile = newFromFile;
    fromRank = newFromRank;
    toFile = newToFile;
    toRank = newToRank;
    fillFromBoard();
    if ((piece == WhitePawn && toRank == 8) || (piece == BlackPawn && toRank == 1)) {
        resultPiece = userInterface->askPromotionPiece();
    }
    releaseCompanion();
    detectCastling();
    detectEnPassant();
}

void Move::setSquares(int newFromFile, int newFromRank, int newToFile, int newToRank) {
    fromFile = newFromFile;
    fromRank = newFromRank;
    toFile = newToFile;
    toRank = newToRank;
    isCapture = false;
    piece = resultPiece = position->at(fromFile, fromRank);
    releaseCompanion();
    isLegal = true;
}

void Move::fillFromBoard() {
    const Position& pos = *position;
    isCapture = pos.at(toFile, toRank) != Empty;
    if (isCapture) {
        captureFile = toFile;
        captureRank = toRank;
    }
    piece = resultPiece = pos.at(fromFile, fromRank);
}

void Move::attachCastlingCompanion(bool white, bool kingside) {
    if (!companion) {
        companion.reset(new Move(position));
    } else {
        companion->releaseCompanion();
    }
    Move& rook = *companion;
    const int rank = white ? 1 : 8;
    rook.fromFile = kingside ? 8 : 1;
    rook.fromRank = rank;
    rook.toFile = kingside ? 6 : 4;
    rook.toRank = rank;
    rook.isCapture = false;
    rook.piece = rook.resultPiece = white ? WhiteRook : BlackRook;
    rook.isLegal = true;
    rook.position = position;
    hasCompanion = true;
}

void Move::detectCastling() {
    if (fromFile == 5 && (toFile == 7 || toFile == 3)) {
        if (piece == WhiteKing) {
            attachCastlingCompanion(true, toFile == 7);
            return;
        }
        if (piece == BlackKing) {
            attachCastlingCompanion(false, toFile == 7);
            return;
        }
    }
    releaseCompanion();
}

void Move::detectEnPassant() {
    const Position& pos = *position;
    if (!pos.enPassantPossible || toFile == fromFile || pos.enPassantFile != toFile) {
        return;
    }
    if ((piece == WhitePawn && toRank == 6 && pos.enPassantRank == 5) ||
        (piece == BlackPawn && toRank == 3 && pos.enPassantRank == 4)) {
        isCapture = true;
        captureFile = toFile;
        captureRank = pos.enPassantRank;
    }
}

MoveList::MoveList(Position* position) : moves_(new Move[capacity]) {
    for (int i = 0; i < capacity; ++i) {
        moves_[i].position = position;
    }
}
