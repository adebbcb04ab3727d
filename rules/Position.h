#pragma once

#include "Piece.h"

#include <cstdint>
#include <type_traits>

class Move;
class Position;
struct PieceSets;

// The head of the redo chain; equals the game's current position when nothing can be redone.
// Shared between threads: the README's "Shared state" says who writes it and what guards it.
extern Position* redoHead;

// One chess position. Plain record: copies share the previous link without owning it; only the
// game's current position and the history nodes hanging from it own theirs.
class Position {
public:
    int32_t board[81];
    int32_t sideToMove; // 1 White, 0 Black
    bool whiteCastleKingside;
    bool whiteCastleQueenside;
    bool blackCastleKingside;
    bool blackCastleQueenside;
    bool enPassantPossible;
    int32_t enPassantFile; // square of the pawn that may be taken
    int32_t enPassantRank;
    Position* previous;
    int32_t whiteKingFile, whiteKingRank;
    int32_t blackKingFile, blackKingRank;
    bool drawClaimed;
    int32_t halfmoveClock;

    int32_t at(int file, int rank) const { return board[file * 9 + rank]; }

    // Board representation
    void setInitialPosition();
    void updateCastlingRights();
    void placePiece(int file, int rank, int piece);
    void makeMove(const Move& m);
    void removeMovePieces(const Move& m);
    void unmakeMove(const Move& m, const Position& before);

    // Move generation and attack detection. The scratch position must equal this one on entry
    // and equals it on return. Nothing is written at or past capacity: a piece whose entries
    // might not fit is left out (only contrived all-pieces positions come near 512).
    int generateMoves(Move* list, Position& scratch, bool allPieces, int capacity = 512) const;
    // The same with the square sets of this position at hand (the search carries them).
    int generateMoves(Move* list, Position& scratch, bool allPieces, const PieceSets& sets,
                      int capacity = 512) const;
    // For the last ply of a search: the entries of all-pieces mode that belong to the side to
    // move, in the same order, and of the rest only the captures onto squares that the side to
    // move does not hold (the exchanges on squares that it can capture on).
    int generateFrontierMoves(Move* list, Position& scratch, const PieceSets& sets,
                              int capacity = 512) const;
    bool isWhiteKingAttacked() const;
    bool isBlackKingAttacked() const;
    bool leavesWhiteKingAttacked(const Move& m, Position& scratch) const;
    bool leavesBlackKingAttacked(const Move& m, Position& scratch) const;
    bool hasNoLegalMoves() const;

    // Game record, on the game's current position
    void pushHistory();
    void undoMove();
    void redoMove();
    void clearHistory();

    // Game-end rules
    bool isInsufficientMaterial() const;
    bool isDrawClaimable() const;
    bool isRepetition() const;
    bool isWhiteCheckmated() const;
    bool isBlackCheckmated() const;
    const char* gameEndReason() const;

    // The comparison of the search's repetition test (not a full equality): of the castling
    // rights only the mover's count. Looser than the rules, but it only scores search lines, and
    // the searched trees are kept as they are.
    bool samePositionAs(const Position& other) const;
    // The comparison by the rules of chess, for draw claims: all four castling rights count.
    bool samePositionForClaims(const Position& other) const;
    // Each recorded king square holds a king of its colour, or that colour has no king on the
    // board at all. Set-ups may give a colour several kings: the record then follows one of them
    // (the last placed or moved), and another once that one leaves the board.
    bool kingSquaresAgreeWithBoard() const;

    // Engine operations, defined by the engine library.
    int32_t evaluate(Move* list, Position& scratch) const;
    int staticExchange(const Move* list, int count, int index) const;
    Move bestMove(int timeMs, int maxDepth);

private:
    // After a king of this code left the board: the record moves to another such king if one
    // stands anywhere, and otherwise keeps the square of the one that left.
    void followRemainingKing(int king);
};

static_assert(std::is_trivially_copyable_v<Position>);
