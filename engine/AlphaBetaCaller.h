#pragma once

#include "Move.h"
#include "PieceValues.h"
#include "Position.h"

#include <atomic>
#include <cstdint>

// A root move with the score of its last complete search. The two are reordered as one, so the
// score read after an iteration that was cut short belongs to the move it is read for.
struct RootMove {
    const Move* move; // into the generated list, which keeps its order
    Score score = 0;
};

// The task of the search pool: one object for the process, shared by every search thread.
class AlphaBetaCaller {
public:
    Position* rootPosition = nullptr;
    std::atomic<int> alpha{0};
    std::atomic<int> beta{0};
    int depth = 0;
    // In search order; a score is written by the thread that searched the move.
    RootMove* rootMoves = nullptr;
    int rootMoveCount = 0;
    // The root's generated list: the exchange correction reads every attack on the square.
    const Move* generatedMoves = nullptr;
    std::atomic<int> nextIndex{0};
    int bestIndex = 0;
    std::atomic_flag lock = ATOMIC_FLAG_INIT;
    const int64_t* startTime = nullptr;
    bool firstMoveDone = false;

    // One search thread's share of a pass.
    void operator()();
};

// Shared between threads: the README's "Shared state" says who writes it and what guards it.
extern AlphaBetaCaller alphaBetaCaller;
