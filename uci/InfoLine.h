#pragma once

#include "UserInterface.h"

#include <string>

// The score of a report for UCI: "cp N" in centipawns from the side to move's view (the
// engine's scores are White's, with a pawn = 200), or "mate N" for a forced mate, positive when
// the side to move mates. The search finds mates without counting their distance, so N is
// the moves of the depth that found it, (depth + 1) / 2: the mate comes within N moves.
std::string uciScore(int32_t whiteScore, int depth, bool whiteToMove);

// "info depth … score … time … nodes … nps … pv …" for a progress report.
std::string infoLine(const SearchReport& report, bool whiteToMove);
