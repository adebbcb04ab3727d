#pragma once

#include "AlphaBetaCaller.h"
#include "Exceptions.h"
#include "Position.h"
#include "ThreadPool.h"

#include <cstdint>
#include <functional>

// How a front-end runs the engine: Position::bestMove searches, on the pool created here.

// Thrown by bestMove when the position has no legal move.
class NoLegalMovesException : public VeltmarkException {
public:
    NoLegalMovesException() : VeltmarkException("") {}
};

// Shared between threads: the README's "Shared state" says who writes it and what guards it.
extern ThreadPool<AlphaBetaCaller>* searchPool;

// Creates the search pool with the given number of workers, searching the given game position.
// `workerStarts` runs first on each worker thread (see ThreadPool).
void createSearchPool(Position* gamePosition, int threadCount,
                      std::function<void()> workerStarts = {});
// Stops any search, joins every worker and frees the pool.
void destroySearchPool();

// A front-end's start: the pool with the settings' thread count, searching the game, which
// heads a redo chain of its own.
void startSearchPoolFor(Position& game, std::function<void()> workerStarts = {});

// Ends a running search at the next cut-off of every search thread. The stop holds until
// clearSearchStop: a search that begins after it (a stop that came just before the turn got
// going) ends after its first iteration.
void stopSearch();
// Lets the next search run its full time; a front-end calls it before it starts a turn, never
// while one may be searching.
void clearSearchStop();

// The time a move may take, in whole milliseconds, for a time per move in seconds; saturated at
// the largest int32_t, which bestMove takes.
int32_t thinkingTimeMs(double secondsPerMove);
