#pragma once

#include <cstdint>

// What a move may spend of the engine's clock. The GUI's clock keeps running while the move
// travels and the search winds down, so a margin of the remaining time is never touched.
int64_t clockSafetyMarginMs(int64_t remainingMs);

// The time for the next move, in milliseconds, from the engine's remaining time, its increment
// per move and the moves to play before the next time control (0: the rest of the game): a
// share of the time left (a 35th, or its share among the moves to go and one more) plus the
// increment, never more than the remaining time less the margin, and at least 1.
int32_t clockBudgetMs(int64_t remainingMs, int64_t incrementMs, int movesToGo);
