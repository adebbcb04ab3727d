#pragma once

#include "Engine.h"
#include "PieceSets.h"

// Position::evaluate for a position whose square sets are at hand, as the search has them.
int32_t evaluateWithSets(const Position& position, const PieceSets& sets, Move* list,
                         Position& scratch);
