#pragma once

#include "Engine.h"

// One search thread's view of the tree below a root move: its position stack (slot 0 is the
// position after the root move, the last slot is always the node being expanded) and its move
// lists, one block of 512 entries per ply.
struct SearchStack {
    Position* slots; // depth + 1 positions
    int lastSlot;    // index of the last slot (the iteration's depth)
};

// White to move at the node: the score is maximised. Black: minimised. Both may throw
// ThreadDeath at a cut-off once the deadline has passed.
int alphaBetaMax(int alpha, int beta, int depthLeft, int ply, const SearchStack& stack, int slot,
                 Move* list, bool quietArrival);
int alphaBetaMin(int alpha, int beta, int depthLeft, int ply, const SearchStack& stack, int slot,
                 Move* list, bool quietArrival);

// Whether static exchange evaluation is on for the running search (read once per search).
// Shared between threads: the README's "Shared state" says who writes it and what guards it.
extern bool searchUsesSee;
