#pragma once

#include "Piece.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class Position;
class UserInterface;

// One move on a given position. A castling move owns its rook's part as a companion move.
class Move {
public:
    int32_t fromFile = 0, fromRank = 0;
    int32_t toFile = 0, toRank = 0;
    bool isCapture = false;
    int32_t captureFile = 0, captureRank = 0;
    int32_t piece = Empty;
    int32_t resultPiece = Empty;
    bool hasCompanion = false;
    std::unique_ptr<Move> companion;
    bool isLegal = false;
    UserInterface* userInterface = nullptr;
    Position* position = nullptr;

    Move();
    explicit Move(Position* position);
    Move(const Move& other);
    Move& operator=(const Move& other);
    virtual ~Move();

    std::string toString() const;
    bool fromString(const std::string& text);
    void setFromSquares(int fromFile, int fromRank, int toFile, int toRank);
    void setSquares(int fromFile, int fromRank, int toFile, int toRank);

    // Companions are allocated and released at every castling candidate of the generator, so
    // they come from a per-thread free list instead of the general heap.
    static void* operator new(std::size_t size);
    static void operator delete(void* p, std::size_t size) noexcept;

    void releaseCompanion() {
        if (companion) {
            companion.reset();
        }
        hasCompanion = false;
    }
    // Gives the move the rook's part of a castling of the given colour and side.
    void attachCastlingCompanion(bool white, bool kingside);

private:
    void copyFieldsFrom(const Move& other);
    // Capture and pieces from the board of the move's position, for squares already set.
    void fillFromBoard();
    void detectCastling();
    void detectEnPassant();
};

// A caller-owned array of moves, all bound to one position, that the generator fills.
class MoveList {
public:
    static constexpr int capacity = 512;

    explicit MoveList(Position* position);
    Move& operator[](int i) { return moves_[i]; }
    const Move& operator[](int i) const { return moves_[i]; }
    Move* data() { return moves_.get(); }
    operator Move*() { return moves_.get(); }

private:
    std::unique_ptr<Move[]> moves_;
};

// Entries a generator call may write for a single piece, scratch slots included. The generator
// stops before a piece whose entries could cross the list's end.
constexpr int maxEntriesPerPiece = 27 + 3;
