#include "TimeBudget.h"

#include <algorithm>
#include <limits>

namespace {

// How many more moves a game without a time control is planned for. Games rarely last that
// long, so the share grows as the clock runs down rather than running out early.
constexpr int64_t movesPlannedForTheRest = 35;
// Beyond this many moves to go, the share is planned as if there were this many.
constexpr int64_t mostMovesPlanned = 50;

} // namespace

int64_t clockSafetyMarginMs(int64_t remainingMs) {
    // A fixed part for a move that reaches the GUI late: the search stops only at its next
    // cut-off, and on a loaded machine the engine, an adapter and the GUI wait for the processor
    // in turn (moves 70 to 80 ms over their budget were seen in a match through polyglot). And a
    // part that grows with the clock, where time in hand costs nothing.
    return std::min<int64_t>(1000, 150 + std::max<int64_t>(remainingMs, 0) / 20);
}

int32_t clockBudgetMs(int64_t remainingMs, int64_t incrementMs, int movesToGo) {
    const int64_t usable = remainingMs - clockSafetyMarginMs(remainingMs);
    if (usable <= 1) {
        return 1;
    }
    // Shared as if one move more were to come: the last move before a control then leaves half
    // the clock in hand, where a move that arrives late would otherwise lose on time.
    const int64_t moves =
        movesToGo > 0 ? std::min<int64_t>(movesToGo, mostMovesPlanned) + 1 : movesPlannedForTheRest;
    const int64_t share = remainingMs / moves + std::max<int64_t>(incrementMs, 0);
    const int64_t budget = std::clamp<int64_t>(share, 1, usable);
    return static_cast<int32_t>(std::min<int64_t>(budget, std::numeric_limits<int32_t>::max()));
}
