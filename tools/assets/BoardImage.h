#pragma once

#include "Gif.h"

// The board texture: eight by eight squares of light and dark wood, 64 pixels each. Image rows
// run along the files (row 0 is the a-file) and columns along the ranks (column 0 is the eighth
// rank), matching the texture coordinates of the board surface, so a1 is the top right square.
IndexedImage boardImage();
