#pragma once

#include "Engine.h"
#include "PieceSets.h"

// Position::evaluate for a position whose square sets are at hand, as the search has them.
int32_t evaluateWithSets(const Position& position, const PieceSets& sets, Move* list,
                         Position& scratch);

// The same for a position just reached by arrival from before, whose scratch position still
// equals before: the move is made on it only when the scratch position is needed, and taken
// back after.
int32_t evaluateArrival(const Position& position, const PieceSets& sets, Move* list,
                        Position& scratch, const Move& arrival, const Position& before);
