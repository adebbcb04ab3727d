#pragma once

#include "BoardGeometry.h"
#include "Move.h"
#include "PieceSets.h"
#include "Position.h"

#include <cassert>
#include <cstdint>

// Which entries a generator call lists.
enum class Listing {
    SideToMove, // the legal moves of the side to move
    AllPieces,  // also the other side's moves and every piece's defence of its own pieces
    // The side to move's entries of AllPieces, and of the others only the captures onto squares
    // that the side to move does not hold
    Frontier,
};

// Generates the entries of one position. Besides whole listings (Position::generateMoves) it
// serves the search, which takes the moves piece by piece and stops as soon as a node is
// decided, and whose exchange evaluation asks only about the pieces that can capture on one
// square; and perft, which counts the last ply without listing it.
class MoveGenerator {
public:
    // The scratch position must equal pos whenever the generator writes entries; the sets must
    // describe pos.
    MoveGenerator(const Position& pos, const PieceSets& sets, Move* list, Position& scratch,
                  Listing listing, int capacity = MoveList::capacity)
        : pos_(pos), sets_(sets), list_(list), scratch_(scratch),
          allPieces_(listing != Listing::SideToMove), frontier_(listing == Listing::Frontier),
          whiteToMove_(pos.sideToMove == 1), capacity_(capacity) {}

    // The whole listing; returns the number of entries.
    int run();

    const Position& position() const { return pos_; }

    // Whether the rules end generation before any piece is looked at: a claimed draw, or no
    // mating material.
    bool listsNothing() const { return pos_.drawClaimed || sets_.insufficientMaterial(); }

    // The entries of the side to move's piece on the square bit, written from list[0] on, in the
    // order the whole listing gives them (at most maxEntriesPerPiece slots, scratch included).
    // Listing SideToMove only.
    int pieceEntries(int bit, Move* list);

    // Squares of the pieces of one colour that have an entry capturing on the (occupied) cell in
    // the AllPieces listing: the captures of the side to move and the other side's defences,
    // as far as they pass the legality test; a king's entry stays even when it is unsafe.
    uint64_t capturersOf(int cell, bool white);

    // Whether the SideToMove listing would have any entry; stops at the first.
    bool hasEntry();

    // The number of entries of the SideToMove listing, mostly counted without writing them.
    int countEntries();
    // Whether countEntries needs the scratch position (set-ups only); otherwise it may differ
    // from the position.
    bool countReadsScratch();

private:
    // Makes the piece on the square bit the current one.
    void enterPiece(int bit) {
        from_ = geometry.cellOf[bit];
        piece_ = pos_.board[from_];
        white_ = isWhitePiece(piece_);
        own_ = white_ == whiteToMove_;
        kind_ = white_ ? piece_ : piece_ - 6;
        needsTrial_ = kind_ == WhiteKing || kingInCheck(white_) || mayBePinned(from_, white_);
    }
    // The current piece's entries for the listing (the others' frontier defences aside).
    void generatePiece();

    // The side to move has exactly one king, on its recorded square.
    bool hasSingleRecordedKing() const;
    // countEntries for the current piece, not a pawn or king, given the squares it moves to.
    int countTargets(uint64_t targets);
    // countEntries for the side to move's pawns.
    int countPawnEntries(uint64_t pawns);

    const Position& pos_;
    const PieceSets& sets_;
    Move* list_;
    Position& scratch_;
    const bool allPieces_;
    bool frontier_;
    const bool whiteToMove_;
    const int capacity_;
    int count_ = 0;
    // Frontier listing: entries left out, counted as if each had passed (promotions as four), so
    // that count_ + omitted_ bounds the count that AllPieces would have reached.
    int omitted_ = 0;

    // About the piece being generated.
    int from_ = 0;
    int piece_ = Empty;
    bool white_ = true;
    bool own_ = true;  // belongs to the side to move
    int kind_ = Empty; // its White code
    // Whether its moves can leave its king attacked.
    bool needsTrial_ = true;

    // Per colour (index 1 White, 0 Black): is the king in check now, computed on first use.
    signed char inCheck_[2] = {-1, -1};

    bool kingInCheck(bool white) {
        signed char& cached = inCheck_[white ? 1 : 0];
        if (cached < 0) {
            cached = white ? sets_.whiteKingAttacked(pos_) : sets_.blackKingAttacked(pos_);
        }
        return cached != 0;
    }

    // Whether the listing wants an entry of the current piece onto a cell with this occupant.
    bool wanted(int occupant) const {
        if (!frontier_) {
            return true;
        }
        return occupant == Empty ? own_ : isWhitePiece(occupant) != whiteToMove_;
    }

    // Writes an entry into the next free slot without counting it. A non-capture keeps the
    // capture square that the slot held.
    Move& build(int from, int to, int piece) {
        // The per-piece guard in scan() keeps every write inside the list.
        assert(count_ < capacity_);
        Move& m = list_[count_];
        m.fromFile = geometry.fileOf[from];
        m.fromRank = geometry.rankOf[from];
        m.toFile = geometry.fileOf[to];
        m.toRank = geometry.rankOf[to];
        m.isCapture = false;
        m.piece = m.resultPiece = piece;
        if (m.hasCompanion || m.companion) {
            m.releaseCompanion();
        }
        m.isLegal = own_;
        return m;
    }

    void add(int to) {
        build(from_, to, piece_);
        ++count_;
    }
    void addCapture(int to, int capture, bool legal) {
        Move& m = build(from_, to, piece_);
        m.isCapture = true;
        m.captureFile = geometry.fileOf[capture];
        m.captureRank = geometry.rankOf[capture];
        m.isLegal = own_ && legal;
        ++count_;
    }

    // The answer of the trial that the rules describe (make the move on the scratch board, test
    // the mover's king, take the move back) for a piece other than the king, found from the
    // square sets: a piece that is not the first on a line from its king to an enemy slider
    // cannot expose the king unless it is in check already or captures en passant.
    bool safe(int to, int capture) const {
        return (!needsTrial_ && capture == to) || !exposesKing(to, capture);
    }
    bool safeQuiet(int to) const { return !needsTrial_ || !exposesKing(to, -1); }

    // Would moving the current piece (not a king) to `to`, taking what stands on `capture` (-1
    // for none), leave its king attacked?
    bool exposesKing(int to, int capture) const {
        const int kingFile = white_ ? pos_.whiteKingFile : pos_.blackKingFile;
        const int kingRank = white_ ? pos_.whiteKingRank : pos_.blackKingRank;
        if (!onBoard(kingFile, kingRank)) {
            return false;
        }
        const int kingCell = squareIndex(kingFile, kingRank);
        // The king test finds no king when the move writes over the king's cell.
        if (pos_.board[kingCell] != (white_ ? WhiteKing : BlackKing) || kingCell == to ||
            kingCell == capture) {
            return false;
        }
        const uint64_t captured = capture >= 0 ? uint64_t{1} << geometry.bitOf[capture] : 0;
        const uint64_t occupancy =
            (sets_.occupied() & ~(uint64_t{1} << geometry.bitOf[from_]) & ~captured) |
            uint64_t{1} << geometry.bitOf[to];
        return sets_.attackedAfter(geometry.bitOf[kingCell], !white_, occupancy, captured);
    }

    // The same for a king move, which the trial tests on the king's new square.
    bool kingStepIsSafe(int to) {
        const int kingFile = white_ ? pos_.whiteKingFile : pos_.blackKingFile;
        const int kingRank = white_ ? pos_.whiteKingRank : pos_.blackKingRank;
        if (onBoard(kingFile, kingRank) && squareIndex(kingFile, kingRank) == from_) {
            const uint64_t occupancy = sets_.occupied() & ~(uint64_t{1} << geometry.bitOf[from_]);
            return !sets_.attackedAfter(geometry.bitOf[to], !white_, occupancy, 0);
        }
        // A king that is not the one on the recorded square (set-ups can have that).
        const Move& m = list_[count_];
        return white_ ? !pos_.leavesWhiteKingAttacked(m, scratch_)
                      : !pos_.leavesBlackKingAttacked(m, scratch_);
    }

    // Squares of the pieces that shield their king from an enemy slider; computed on first use
    // for each colour.
    uint64_t pinned_[2] = {0, 0};
    bool pinnedKnown_[2] = {false, false};

    // Could lifting the piece on the cell open a line from its king to an enemy slider?
    bool mayBePinned(int cell, bool white) { return (pinnedOf(white) >> geometry.bitOf[cell]) & 1; }
    uint64_t pinnedOf(bool white) {
        const int side = white ? 1 : 0;
        if (!pinnedKnown_[side]) {
            pinned_[side] = findPinned(white);
            pinnedKnown_[side] = true;
        }
        return pinned_[side];
    }

    uint64_t findPinned(bool white) const {
        const int kingFile = white ? pos_.whiteKingFile : pos_.blackKingFile;
        const int kingRank = white ? pos_.whiteKingRank : pos_.blackKingRank;
        if (!onBoard(kingFile, kingRank)) {
            return 0;
        }
        const int kingBit = squareBit(kingFile, kingRank);
        const int k = white ? 6 : 0; // enemy codes
        const uint64_t occupancy = sets_.occupied();
        uint64_t mask = 0;
        for (int d = 0; d < 8; ++d) {
            const uint64_t line = geometry.rayMask[kingBit][d];
            const uint64_t sliders = line & (sets_.byCode[WhiteQueen + k] |
                                             sets_.byCode[(d < 4 ? WhiteRook : WhiteBishop) + k]);
            if (sliders == 0) {
                continue;
            }
            const uint64_t blockers = line & occupancy;
            const uint64_t shield = PieceSets::nearestOnRay(d, blockers);
            const uint64_t behind = blockers & ~shield;
            if (behind != 0 && (PieceSets::nearestOnRay(d, behind) & sliders) != 0) {
                mask |= shield;
            }
        }
        return mask;
    }

    // Whether the frontier listing left out so much that AllPieces could have filled the list.
    bool omissionsMayOverflow() const { return count_ + omitted_ + maxEntriesPerPiece > capacity_; }

    bool scan();
    void defences(int kind);
    void rays(int firstDirection, int lastDirection);
    void jumps(bool king);
    void pawn();
    void addPawnEntry(int promotionRank);
    void castle(bool kingside);
    // About a castling of the current piece's colour.
    bool castlingPathEmpty(bool kingside) const;
    bool castlingPiecesAtHome(bool kingside) const;
    // Whether the king is safe where it stands, passes and arrives (king and rook at home).
    bool castlingIsSafe(bool kingside) const;
};
