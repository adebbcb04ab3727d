#pragma once

#include "Exceptions.h"
#include "Move.h"
#include "Position.h"
#include "ThreadPool.h"

#include <atomic>
#include <cstdint>

using Score = int32_t;
constexpr Score MateScore = 100000;

// Thrown by bestMove when the position has no legal move.
class NoLegalMovesException : public VeltmarkException {
public:
    NoLegalMovesException() : VeltmarkException("") {}
};

// A monotonic clock in 100-nanosecond ticks from an arbitrary origin: a step of the wall clock
// must neither end a search early nor let it overrun.
int64_t clockTicks();
// Puts another clock behind clockTicks (nullptr: the monotonic one again); only while no search
// runs. Tests use a clock that advances with every reading, so that a time budget ends a
// one-thread search at the same cut-off in every build.
void setClockSource(int64_t (*source)());

// The process-wide count of evaluations. Every search thread adds to a counter of its own so
// that the hottest line of the engine shares no cache line between cores; reading sums them.
class NodeCounter {
public:
    void operator++() {
        std::atomic<uint64_t>& own = slotOfThisThread();
        if (&own == &overflow_) {
            overflow_.fetch_add(1, std::memory_order_relaxed);
        } else {
            own.store(own.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
        }
    }
    uint64_t load() const;
    // Only while no search runs.
    void reset();

    // A thread's slot, taken on its first count and given back (its count kept) when it ends.
    struct alignas(64) Slot {
        std::atomic<uint64_t> value{0};
        std::atomic<bool> taken{false};
    };
    static constexpr int slotCount = 128;

private:
    std::atomic<uint64_t>& slotOfThisThread();
    Slot slots_[slotCount];
    std::atomic<uint64_t> retired_{0};  // counts of threads that have ended
    std::atomic<uint64_t> overflow_{0}; // shared by threads beyond slotCount
    friend struct NodeCounterLease;
};

// Engine globals: one search runs at a time. Shared between threads: the README's "Shared
// state" says who writes each and what guards it.
extern NodeCounter nodeCount;
extern std::atomic<int64_t> searchDeadline;
extern int rootSide;

// Exchange value of a piece code; -1 for an empty cell.
int pieceValue(int code);

// Ends a running search at the next cut-off of every search thread. The stop holds until
// clearSearchStop: a search that begins after it (a stop that came just before the turn got
// going) ends after its first iteration.
void stopSearch();
// Lets the next search run its full time; a front-end calls it before it starts a turn, never
// while one may be searching.
void clearSearchStop();

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

extern AlphaBetaCaller alphaBetaCaller;
extern ThreadPool<AlphaBetaCaller>* searchPool;

// Creates the search pool with the given number of workers, searching the given game position.
void createSearchPool(Position* gamePosition, int threadCount);
// Stops any search, joins every worker and frees the pool.
void destroySearchPool();
