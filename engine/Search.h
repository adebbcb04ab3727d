#pragma once

#include "Move.h"
#include "PieceValues.h"
#include "Position.h"
#include "ThreadPool.h"

#include <atomic>
#include <cstdint>

// The depth limit is a byte of the settings.
constexpr int maxSearchDepth = 255;

// One search thread's view of the tree below a root move: its position stack (slot 0 is the
// position after the root move, the last slot is always the node being expanded) and its move
// lists, one block of 512 entries per ply.
struct SearchStack {
    Position* slots; // depth + 1 positions
    int lastSlot;    // index of the last slot (the iteration's depth)
    // Cut-offs left before the thread reads the clock again; 0 at the start of a pass, so that
    // the first cut-off of every pass reads it.
    mutable int cutOffsBeforeClock = 0;
};

// White to move at the node: the score is maximised. Black: minimised. Both may throw
// ThreadDeath at a cut-off once the deadline has passed.
int alphaBetaMax(int alpha, int beta, int depthLeft, int ply, const SearchStack& stack, int slot,
                 Move* list, bool quietArrival);
int alphaBetaMin(int alpha, int beta, int depthLeft, int ply, const SearchStack& stack, int slot,
                 Move* list, bool quietArrival);

// The running search's globals, set by bestMove and read by the search threads. Shared between
// threads: the README's "Shared state" says who writes each and what guards it.
// The clock reading at which the search threads give up; stopSearch moves it into the past.
extern std::atomic<int64_t> searchDeadline;
// The side to move at the root (1: White), whose nodes the frontier pruning looks at.
extern int rootSide;
// Whether static exchange evaluation is on for the running search (read once per search).
extern bool searchUsesSee;
