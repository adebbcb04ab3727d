#pragma once

#include <cstdint>

class Position;

// Number of leaf positions of the legal move tree, depth plies deep. Uses the generator
// exactly as the engine does, so it doubles as a check of the rules and as their benchmark.
uint64_t perft(const Position& position, int depth);
