#pragma once

#include "Position.h"
#include "UserInterface.h"

#include <string>

// What the status line says of a search in progress, from its latest report on the position
// it searches: "depth 9, score +0.35, best Nf3", the score in pawns for the side to move, or
// "mate in 3" / "mated in 3" once the search has seen one.
std::string thinkingText(const SearchReport& report, Position& searched);
